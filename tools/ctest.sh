#!/usr/bin/env bash
# Runs ctest in the build folder (the current folder) with the given arguments. A test program
# that fails having printed nothing at all never reached its first line (the test programs
# print from their first line, unbuffered): Wine failed to start it. When every failed test
# is of that kind they are run once more, and named; any other failure fails at once.
set -uo pipefail
ctest "$@" && exit 0
rc=$?
failed=Testing/Temporary/LastTestsFailed.log
log=Testing/Temporary/LastTest.log
[ -s "$failed" ] && [ -s "$log" ] || exit $rc
# The names of the failed tests whose output was empty.
silent=$(awk '
  /^[0-9]+\/[0-9]+ Test: / { name = $0; sub(/^[0-9]+\/[0-9]+ Test: /, "", name) }
  /^Output:$/ { inout = 0; seen = 0; next }
  /^-+$/ && inout == 0 && name != "" { inout = 1; next }
  /^<end of output>$/ { if (!seen) print name; inout = -1; next }
  inout == 1 && /[^[:space:]]/ { seen = 1 }
' "$log" | sort -u)
while IFS= read -r line; do
  name=${line#*:}
  grep -qxF -- "$name" <<<"$silent" || exit $rc
done < "$failed"
echo "These tests failed without printing anything (Wine did not start them); running them again:"
sed 's/^[0-9]*:/  /' "$failed"
ctest --rerun-failed "$@"
