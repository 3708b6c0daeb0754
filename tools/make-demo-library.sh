#!/usr/bin/env bash
# Makes a library to look at the program with: short MP3 files with Japanese tags and album
# covers, added to the "library.db" of a profile through the program's own add-to-library
# worker. Then `bash tools/run.sh /p:demo` opens the program on it.
#   bash tools/make-demo-library.sh [profile (demo)] [number of tracks (300)]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
LARK_PREFIX_ROLE=demo   # a Wine prefix of its own: ending its wineserver ends no test run
source "$here/tools/env.sh"
profile=${1:-demo}
count=${2:-300}
cmake --build "$BUILD_DIR" --target Larkspur2006 make_demo_library

music="$BUILD_DIR/demo-music"
rm -rf "$music"
mkdir -p "$music"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
FF="ffmpeg -hide_banner -loglevel error -y"
$FF -f lavfi -i "sine=frequency=330:duration=20" -ar 22050 -ac 1 -b:a 32k "$work/tone.mp3"

artists=(中島みゆき 坂本龍一 宇多田ヒカル "Yellow Magic Orchestra" 椎名林檎 大貫妙子 細野晴臣 "Pizzicato Five"
         山下達郎 竹内まりや "くるり" "スピッツ" 松任谷由実 "Cornelius" 矢野顕子 "ゆらゆら帝国")
words=(春 夏 秋 冬 夜明け 海辺 都会 雨上がり 星空 風 約束 記憶 旅路 砂時計 光 影 さよなら 青空 "Blue" "Midnight"
       "Paradise" 東京 銀河 花束 月影 蜃気楼 夕暮れ 窓辺 "Rain" 航海)
genres=(J-Pop Rock Electronic Jazz 歌謡曲 Ambient)
colors=(SteelBlue IndianRed SeaGreen DarkOrange SlateBlue Goldenrod Teal Orchid)

album_of_track=12
for ((i = 0; i < count; i++)); do
  a=$(( i / (album_of_track * 2) % ${#artists[@]} ))
  album=$(( i / album_of_track ))
  track=$(( i % album_of_track + 1 ))
  artist=${artists[$a]}
  album_title="${words[$(( album * 7 % ${#words[@]} ))]}の${words[$(( (album * 3 + 5) % ${#words[@]} ))]}"
  title="${words[$(( (i * 11 + 3) % ${#words[@]} ))]} ${words[$(( (i * 5 + 1) % ${#words[@]} ))]}"
  dir="$music/$(printf '%s' "$artist" | tr '/' '_')/$album_title"
  mkdir -p "$dir"
  if [ ! -f "$dir/folder.jpg" ]; then
    convert -size 300x300 "gradient:${colors[$(( album % ${#colors[@]} ))]}-black" "$dir/folder.jpg"
  fi
  $FF -i "$work/tone.mp3" -c copy -id3v2_version 3 \
      -metadata title="$title" -metadata artist="$artist" -metadata album="$album_title" \
      -metadata track="$track/$album_of_track" -metadata date=$(( 1978 + album % 30 )) \
      -metadata genre="${genres[$(( album % ${#genres[@]} ))]}" \
      "$dir/$(printf '%02d' "$track") $title.mp3"
done

users="$BUILD_DIR/bin/users"
mkdir -p "$users"
rm -rf "${users:?}/$profile"
run_under_x "wine $(printf %q "$BUILD_DIR/tools/demo/make_demo_library.exe") \
  $(printf %q "$(winepath -w "$users/$profile")") $(printf %q "$(winepath -w "$music")")"
echo "Start the program on it with: bash tools/run.sh /p:$profile"
