#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it under Wine: in a window when there
# is a display, else under Xvfb, where it saves a screenshot of the main window and closes
# the program again. Arguments are passed to the program (e.g. /p:alice for a profile).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
LARK_PREFIX_ROLE=run   # a Wine prefix of its own: ending its wineserver ends no test run
source "$here/tools/env.sh"
cmake --build "$BUILD_DIR" --target Larkspur2006
exe="$BUILD_DIR/bin/Larkspur2006.exe"

if [ -n "${DISPLAY:-}" ]; then
  wineserver -k 2>/dev/null || true
  exec wine "$exe" "$@"
fi

shot=${SCREENSHOT:-$BUILD_DIR/screenshot.png}
run_under_x "
  wine $(printf '%q ' "$exe" "$@") &
  pid=\$!
  # Wait for the main window, then give it a moment to draw.
  shown=0
  for i in \$(seq 1 60); do
    wine cmd /c exit >/dev/null 2>&1
    if xwininfo -root -tree 2>/dev/null | grep -q '\"Spur'; then shown=1; break; fi
    kill -0 \$pid 2>/dev/null || break
    sleep 0.5
  done
  if [ \$shown = 0 ]; then
    echo 'The main window did not appear.' >&2
    wine taskkill /f /im Larkspur2006.exe >/dev/null 2>&1
    wait
    exit 1
  fi
  sleep 3
  import -window root $(printf %q "$shot")
  # A polite close (WM_CLOSE), so that the program writes its settings as at any exit.
  wine taskkill /im Larkspur2006.exe >/dev/null 2>&1 || true
  wait
"
echo "Screenshot of the main window: $shot"
echo "Profile folder: $BUILD_DIR/bin/users/"
