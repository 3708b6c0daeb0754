# Sourced by the other scripts: runs the set-up, configures the build folder and defines
# run_under_x, which runs a command with one persistent wineserver under Xvfb.
env_out=$(bash "$here/tools/setup.sh")
while IFS= read -r line; do   # one "NAME=value" per line; values may hold spaces
  case $line in DEPS_PREFIX=*|WINEPREFIX=*) export "$line" ;; esac
done <<<"$env_out"
# LARK_WINEPREFIX: a Wine prefix of its own (a copy of the prepared one), so that several work
# trees can run their tests at once without ending each other's wineserver.
# LARK_PREFIX_ROLE (set by a script before it sources this file): the script runs on a copy of
# its own beside that prefix, "<prefix>-<role>", so that the wineserver it starts and ends is
# never the one of a test run started beside it.
# A copy's ".lark-ready" names the prefix it was copied from; a copy of an older preparation
# is made again.
lark_prefix=${LARK_WINEPREFIX:-}
if [ -n "${LARK_PREFIX_ROLE:-}" ]; then lark_prefix=${LARK_WINEPREFIX:-$WINEPREFIX}-$LARK_PREFIX_ROLE; fi
if [ -n "$lark_prefix" ]; then
  if [ "$(cat "$lark_prefix/.lark-ready" 2>/dev/null)" != "$WINEPREFIX" ]; then
    rm -rf "$lark_prefix"
    cp -a "$WINEPREFIX" "$lark_prefix"
    printf '%s\n' "$WINEPREFIX" > "$lark_prefix/.lark-ready"
  fi
  export WINEPREFIX=$lark_prefix
fi
export WINEDEBUG=-all LANG=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree=;mshtml="
BUILD_DIR=${BUILD_DIR:-$here/build}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S "$here" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw64.cmake" -DDEPS_PREFIX="$DEPS_PREFIX" >/dev/null
fi

run_under_x() {
  # A wineserver left from a run without a display breaks window creation: end it first.
  wineserver -k 2>/dev/null || true
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1
    ( $1 )
    rc=\$?
    wineserver -k
    exit \$rc"
}
