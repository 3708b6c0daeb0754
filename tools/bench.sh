#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every benchmark program in bench/ under
# Wine, one after another (they measure time: run them on an otherwise idle machine).
# Arguments are passed to each benchmark.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tools/env.sh"
cmake --build "$BUILD_DIR"
wineserver -k 2>/dev/null || true
wineserver -p
for exe in "$BUILD_DIR"/bench/*/*.exe; do
  echo "== $(basename "$exe")"
  (cd "$(dirname "$exe")" && wine "$exe" "$@")
done
wineserver -k
