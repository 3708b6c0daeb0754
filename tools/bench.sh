#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every benchmark program in bench/ under
# Wine, one after another (they measure time: run them on an otherwise idle machine).
# Arguments are passed to each benchmark.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tools/env.sh"
cmake --build "$BUILD_DIR"
shopt -s nullglob
benches=("$BUILD_DIR"/bench/*/*.exe)
[ ${#benches[@]} -gt 0 ] || { echo "No benchmark program was built." >&2; exit 1; }
wineserver -k 2>/dev/null || true
wineserver -p
# A persistent wineserver started without a display breaks later runs under Xvfb: end it
# however the benchmarks end.
trap 'wineserver -k' EXIT
for exe in "${benches[@]}"; do
  echo "== $(basename "$exe")"
  (cd "$(dirname "$exe")" && wine "$exe" "$@")
done
