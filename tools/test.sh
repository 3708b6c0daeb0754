#!/usr/bin/env bash
# Sets up the machine (tools/setup.sh), builds everything and runs every test under Wine.
#   BUILD_DIR   build folder (default: build/ in the work tree)
#   CTEST_ARGS  extra arguments for ctest, e.g. "-R Settings"
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tools/env.sh"
cmake --build "$BUILD_DIR"
run_under_x "cd $(printf %q "$BUILD_DIR") && bash $(printf %q "$here/tools/ctest.sh") --output-on-failure --timeout 300 -j $(nproc) ${CTEST_ARGS:-}"
