#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every benchmark program in bench/ under
# Wine and Xvfb, one after another (they measure time: run them on an otherwise idle machine).
# Arguments are passed to each benchmark.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
LARK_PREFIX_ROLE=bench   # a Wine prefix of its own: ending its wineserver ends no test run
source "$here/tools/env.sh"
cmake --build "$BUILD_DIR"
shopt -s nullglob
benches=("$BUILD_DIR"/bench/*/*.exe)
[ ${#benches[@]} -gt 0 ] || { echo "No benchmark program was built." >&2; exit 1; }
# Under Xvfb: the play-list benchmark opens the program's main window.
list=$(printf '%q ' "${benches[@]}")
args=""
[ $# -eq 0 ] || args=$(printf '%q ' "$@")
# The run fails when any benchmark fails (a missed goal, a wrong result), after all have run.
run_under_x "
  failed=''
  for exe in $list; do
    echo \"== \$(basename \"\$exe\")\"
    (cd \"\$(dirname \"\$exe\")\" && wine \"\$exe\" $args) || failed=\"\$failed \$(basename \"\$exe\")\"
  done
  [ -z \"\$failed\" ] || { echo \"failed:\$failed\" >&2; exit 1; }"
