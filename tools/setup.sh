#!/usr/bin/env bash
# Prepares a Debian 12 machine to build and test the program:
#   1. Debian packages (cross compiler, Wine, Xvfb, fonts, media tools for test files);
#   2. the third-party libraries, cross-built from Debian's source packages as static
#      libraries into a cached prefix outside the work tree;
#   3. a Wine prefix in which Japanese text renders.
# Safe to run again: every step checks whether its result is already in place.
#
# Prints the environment to use on its last lines (DEPS_PREFIX=..., WINEPREFIX=...).
set -euo pipefail

STAMP=deps-v1                      # bump when a library, version or flag below changes
CACHE=${LARK_CACHE:-$HOME/.cache/larkspur2006}
ROOT=$CACHE/$STAMP
P=$ROOT/prefix
SRC=$ROOT/src
B=$ROOT/build
LOGS=$ROOT/logs
JOBS=$(nproc)

log() { printf '[setup %s] %s\n' "$(date +%T)" "$*" >&2; }
# Packages and locales need root; everything else is built as the calling user.
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

# ---------------------------------------------------------------- packages
PKGS=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      libz-mingw-w64-dev build-essential cmake ninja-build nasm tcl pkgconf dpkg-dev bc
      libutfcpp-dev googletest wine wine64 xvfb xauth x11-apps x11-utils imagemagick
      fonts-wine fonts-ipaexfont-gothic fonts-vlgothic locales
      sox libsox-fmt-mp3 lame flac vorbis-tools ffmpeg id3v2 ca-certificates)

missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ -n "$SUDO" ] && ! command -v sudo >/dev/null; then
    log "these packages are missing and installing them needs root or sudo: ${missing[*]}"
    exit 1
  fi
  log "installing ${#missing[@]} packages"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  log "generating ja_JP.UTF-8"
  $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# ---------------------------------------------------------------- libraries
mkdir -p "$P/lib/pkgconfig" "$P/include" "$SRC" "$B" "$LOGS"
TC=$ROOT/mingw64-posix.cmake
cat > "$TC" <<TCEOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH $P /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TCEOF

if [ ! -f "$ROOT/libs.done" ]; then
  unset PKG_CONFIG_PATH CFLAGS CXXFLAGS LDFLAGS CPPFLAGS
  export PKG_CONFIG_LIBDIR=$P/lib/pkgconfig:/usr/x86_64-w64-mingw32/lib/pkgconfig

  # Sources through a private apt state, so the machine's apt configuration is untouched.
  fetch() {   # fetch <suite list> <package...>
    local name=$1; shift; local suites=$1; shift
    local A=$ROOT/apt-$name
    mkdir -p "$A/lists/partial"
    : > "$A/sources.list"
    for s in $suites; do
      echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian $s main" >> "$A/sources.list"
    done
    local O=(-o "Dir::Etc::SourceList=$A/sources.list" -o Dir::Etc::SourceParts=/nonexistent
             -o "Dir::State::Lists=$A/lists" -o Dir::Cache::srcpkgcache= -o APT::Sandbox::User=root)
    apt-get "${O[@]}" update -qq >/dev/null
    (cd "$SRC" && apt-get "${O[@]}" source -qq "$@" >/dev/null 2>"$LOGS/fetch-$name.log")
  }
  if [ ! -f "$SRC/fetched" ]; then
    log "fetching sources"
    rm -rf "${SRC:?}"/*
    fetch bookworm "bookworm bookworm-updates" sqlite3 libogg libvorbis flac taglib ffmpeg
    # bookworm's libid3tag tarballs are not served; trixie's 0.16.3 has the same API.
    fetch trixie trixie libid3tag
    touch "$SRC/fetched"
  fi
  dir() { find "$SRC" -maxdepth 1 -type d -name "$1" | sort | tail -n 1; }

  CM=(-G Ninja -DCMAKE_TOOLCHAIN_FILE=$TC -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$P
      -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF -DZLIB_USE_STATIC_LIBS=ON)
  cmk() {  # cmk <name> <srcdir> [cmake args...]
    local n=$1 s=$2; shift 2
    cmake -S "$s" -B "$B/$n" "${CM[@]}" "$@" >"$LOGS/$n.log" 2>&1
    cmake --build "$B/$n" -j "$JOBS" >>"$LOGS/$n.log" 2>&1
    cmake --install "$B/$n" >>"$LOGS/$n.log" 2>&1
  }

  lane_ffmpeg() {
    local s; s=$(dir 'ffmpeg-*')
    mkdir -p "$B/ffmpeg" && cd "$B/ffmpeg"
    "$s/configure" --prefix="$P" \
      --enable-cross-compile --target-os=mingw32 --arch=x86_64 --cross-prefix=x86_64-w64-mingw32- \
      --cc=x86_64-w64-mingw32-gcc-posix --cxx=x86_64-w64-mingw32-g++-posix \
      --pkg-config=pkg-config --pkg-config-flags=--static \
      --disable-shared --enable-static --disable-programs --disable-doc --disable-debug \
      --disable-network --disable-autodetect --enable-w32threads --disable-everything \
      --disable-avdevice --disable-avfilter --disable-swscale --disable-postproc \
      --enable-avcodec --enable-avformat --enable-swresample --enable-protocol=file \
      --enable-demuxer=mp3,ogg,wav,w64,asf,mov,flac,tta,ape,aac \
      --enable-decoder=mp1,mp1float,mp2,mp2float,mp3,mp3float,vorbis,flac,tta,ape,alac,aac,aac_fixed,wmav1,wmav2,wmapro,wmalossless \
      --enable-decoder=pcm_u8,pcm_s8,pcm_s16le,pcm_s16be,pcm_s24le,pcm_s24be,pcm_s32le,pcm_s32be,pcm_f32le,pcm_f64le,pcm_alaw,pcm_mulaw,adpcm_ms,adpcm_ima_wav \
      --enable-parser=mpegaudio,vorbis,flac,aac >"$LOGS/ffmpeg.log" 2>&1
    make -j "$JOBS" >>"$LOGS/ffmpeg.log" 2>&1
    make install >>"$LOGS/ffmpeg.log" 2>&1
  }
  lane_sqlite_taglib() {
    local s; s=$(dir 'sqlite3-*')
    mkdir -p "$B/sqlite" && cd "$B/sqlite"
    if [ ! -f sqlite3.c ]; then
      (env -u PKG_CONFIG_LIBDIR "$s/configure" --disable-tcl && make -j "$JOBS" sqlite3.c) >"$LOGS/sqlite.log" 2>&1
    fi
    x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS5 -c sqlite3.c -o sqlite3.o >>"$LOGS/sqlite.log" 2>&1
    rm -f "$P/lib/libsqlite3.a"
    x86_64-w64-mingw32-ar rcs "$P/lib/libsqlite3.a" sqlite3.o
    cp sqlite3.h sqlite3ext.h "$P/include/"
    local v; v=$(sed -n 's/^#define SQLITE_VERSION *"\(.*\)"/\1/p' sqlite3.h)
    printf 'prefix=%s\nlibdir=${prefix}/lib\nincludedir=${prefix}/include\nName: SQLite\nDescription: SQL database engine\nVersion: %s\nLibs: -L${libdir} -lsqlite3\nCflags: -I${includedir}\n' "$P" "$v" > "$P/lib/pkgconfig/sqlite3.pc"
    cmk taglib "$(dir 'taglib-*')" -DBUILD_BINDINGS=OFF -DBUILD_EXAMPLES=OFF -DCMAKE_CXX_FLAGS=-I/usr/include/utf8cpp
    sed -i 's|^Cflags: \(.*\)$|Cflags: \1 -DTAGLIB_STATIC|' "$P/lib/pkgconfig/taglib.pc"
  }
  lane_small() {
    cmk ogg "$(dir 'libogg-*')" -DINSTALL_DOCS=OFF
    cmk vorbis "$(dir 'libvorbis-*')"
    cmk flac "$(dir 'flac-*')" -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
        -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF -DWITH_FORTIFY_SOURCE=OFF -DWITH_STACK_PROTECTOR=OFF -DWITH_OGG=ON
    sed -i 's|^Cflags: -I${includedir}$|Cflags: -I${includedir} -DFLAC__NO_DLL|' "$P/lib/pkgconfig/flac.pc"
    cmk id3tag "$(dir 'libid3tag-*')"
    cmk gtest /usr/src/googletest -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=ON
  }

  log "building libraries in three lanes (logs in $LOGS)"
  lane_ffmpeg & a=$!
  lane_sqlite_taglib & b=$!
  lane_small & c=$!
  fail=0
  wait $a || { log "FFmpeg failed: see $LOGS/ffmpeg.log"; fail=1; }
  wait $b || { log "SQLite/TagLib failed: see $LOGS/sqlite.log, $LOGS/taglib.log"; fail=1; }
  wait $c || { log "ogg/vorbis/flac/id3tag/gtest failed: see $LOGS"; fail=1; }
  [ $fail = 0 ] || exit 1
  nm "$P/lib/libsqlite3.a" | grep -c 'T sqlite3_prepare16_v2' >/dev/null || { log "sqlite3 lacks the UTF-16 API"; exit 1; }
  touch "$ROOT/libs.done"
  log "libraries ready"
fi

# ---------------------------------------------------------------- Wine prefix
# The prefix is prepared beside any older one and moved into place whole, so programs that
# copy or use the older prefix meanwhile are not disturbed. Bump WINE_STAMP when the
# preparation below changes: work trees then copy the new prefix (tools/env.sh).
WINE_STAMP=wine-v2
export WINEPREFIX=$ROOT/$WINE_STAMP WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$ROOT/$WINE_STAMP.done" ]; then
  log "preparing the Wine prefix"
  READY=$WINEPREFIX
  export WINEPREFIX=$ROOT/$WINE_STAMP.tmp.$$
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  FONTS=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$FONTS"
  cp /usr/share/wine/fonts/* "$FONTS/" 2>/dev/null || true
  cp /usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf \
     /usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf "$FONTS/"
  # The Japanese faces the program and Wine's own fonts name. IPAexGothic and VL Gothic draw
  # "_" at 9 pt (IPAGothic leaves it blank); "MS Gothic" stays a fixed-pitch face.
  REG=$ROOT/$WINE_STAMP.reg
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for f in "MS UI Gothic" "MS PGothic" "ＭＳ Ｐゴシック" "Meiryo" "Meiryo UI" "Yu Gothic UI" "SimSun" "PMingLiU" "Gulim"; do
      printf '"%s"="IPAexGothic"\r\n' "$f"
    done
    for f in "MS Gothic" "ＭＳ ゴシック"; do
      printf '"%s"="VL Gothic"\r\n' "$f"
    done
  } | iconv -f UTF-8 -t CP932 > "$REG"
  LANG=ja_JP.UTF-8 wine regedit /S "$REG" >/dev/null 2>&1
  wineserver -w
  # Another set-up may have finished meanwhile: keep its prefix (a rename never replaces a
  # filled folder) and drop ours.
  [ -f "$ROOT/$WINE_STAMP.done" ] || rm -rf "$READY"
  mv -T "$WINEPREFIX" "$READY" 2>/dev/null || rm -rf "$WINEPREFIX"
  export WINEPREFIX=$READY
  touch "$ROOT/$WINE_STAMP.done"
fi

echo "DEPS_PREFIX=$P"
echo "DEPS_TOOLCHAIN=$TC"
echo "WINEPREFIX=$WINEPREFIX"
