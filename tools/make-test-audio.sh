#!/usr/bin/env bash
# Remakes the small audio files under tests/data/tags/ that the tag reader tests read.
# Every file is made here from generated tones; the tests know their contents from this
# script. Needs sox, lame, flac/metaflac, oggenc/vorbiscomment, ffmpeg, id3v2, iconv and
# ImageMagick's convert.
set -euo pipefail

OUT=$(cd "$(dirname "$0")/.." && pwd)/tests/data/tags
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$OUT"
cd "$WORK"

FF="ffmpeg -hide_banner -loglevel error -y -fflags +bitexact"
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# Sources: a quiet tone, 8 kHz mono 16-bit, and two small pictures.
sox -n -r 8000 -c 1 -b 16 tone1.wav synth 1 sine 440 vol 0.3
sox -n -r 8000 -c 1 -b 16 tone2.wav synth 2 sine 440 vol 0.3
sox -n -r 8000 -c 1 -b 16 silence.wav trim 0 1
convert -size 4x4 xc:red "$WORK/cover.png"
convert -size 4x4 xc:blue -quality 50 "$WORK/cover.jpg"
cp cover.png "$OUT/cover.png"
cp cover.jpg "$OUT/cover.jpg"

# WAV: 8-bit PCM (8000 bytes of data), and MS ADPCM.
sox tone1.wav -r 8000 -c 1 -b 8 -e unsigned-integer "$OUT/pcm8.wav"
sox tone2.wav -e ms-adpcm "$OUT/adpcm.wav"

# MP3, 8 kbit/s. ID3v2.4 (UTF-8) with a PNG picture; ID3v2.3 (UTF-16) with a JPEG picture;
# ID3v1 only and ID3v2.3 Latin-1 frames, both holding code page 932 bytes.
lame --quiet -b 8 -m m --resample 8 tone2.wav plain.mp3
$FF -i plain.mp3 -i cover.png -map 0 -map 1 -c copy -id3v2_version 4 -write_id3v1 0 \
    -metadata title='日本語のタイトル' -metadata artist='アーティスト' -metadata album='アルバム' \
    -metadata track='3/12' -metadata date='2006-05-04' -metadata genre='Jazz' \
    -metadata comment='コメント' -metadata:s:v title='front' -metadata:s:v comment='Cover (front)' \
    "$OUT/v24.mp3"
$FF -i plain.mp3 -i cover.jpg -map 0 -map 1 -c copy -id3v2_version 3 -write_id3v1 0 \
    -metadata title='タイトル二' -metadata artist='歌手' -metadata date='1999' \
    -metadata:s:v comment='Cover (front)' "$OUT/v23.mp3"
cp plain.mp3 "$OUT/v1.mp3"
id3v2 -1 -t "$(sjis '曲名')" -a "$(sjis '歌手名')" -A Album1 -y 2001 -g 8 -T 7 "$OUT/v1.mp3"
cp plain.mp3 "$OUT/latin1.mp3"
id3v2 -2 -t "$(sjis 'ラテン')" -a 'Artist' "$OUT/latin1.mp3"
cp "$OUT/v24.mp3" "$OUT/upper.MP3"
cp "$OUT/v23.mp3" "$OUT/layer.mp2"
cp "$OUT/v23.mp3" "$OUT/layer.mp1"

# Ogg Vorbis: repeated ARTIST, "=" inside a value, lower-case names.
oggenc -Q -q 0 -o "$OUT/tags.ogg" -c 'TITLE=オッグ' -c 'ARTIST=A' -c 'artist=B' \
    -c 'EQUATION=x=y=z' -c 'NOEQ=1' -c 'Date=2005' tone1.wav

# MP4 / M4A: AAC with tags and a PNG cover, ALAC, and the same AAC in an ".mp4".
$FF -i tone1.wav -i cover.png -map 0 -map 1 -c:a aac -b:a 16k -c:v copy -disposition:v attached_pic \
    -metadata title='エム四エー' -metadata artist='Artist' -metadata album='Album' \
    -metadata track='2/9' -metadata date='2004' -metadata genre='Rock' -metadata comment='Note' \
    "$OUT/aac.m4a"
$FF -i silence.wav -c:a alac -metadata title='ALAC' "$OUT/alac.m4a"
$FF -i tone1.wav -c:a aac -b:a 16k -metadata title='MP4' -f mp4 "$OUT/aac.mp4"

# WMA (WMAv2).
$FF -i tone2.wav -ar 22050 -c:a wmav2 -b:a 24k \
    -metadata title='ダブリューエムエー' -metadata artist='Author1' -metadata album='AlbumW' \
    -metadata genre='Pop' -metadata date='2003' -metadata track='5' -metadata comment='Desc' \
    "$OUT/tags.wma"

# FLAC: tags and a front cover; no comment block at all; a picture of another type only.
flac -s -f --no-padding --best -o "$OUT/tags.flac" -T 'TITLE=フラック' -T 'ARTIST=A' -T 'ARTIST=B' \
    --picture="3|image/png|front|4x4x24|cover.png" silence.wav
flac -s -f --no-padding -o "$OUT/nocomment.fla" silence.wav
metaflac --remove --block-type=VORBIS_COMMENT,PADDING "$OUT/nocomment.fla"
flac -s -f --no-padding -o "$OUT/backcover.flac" -T 'TITLE=Back' --picture="4|image/png|back|4x4x24|cover.png" silence.wav

# TTA with an ID3v2 tag in front.
$FF -i silence.wav -c:a tta "$OUT/tags.tta"
id3v2 -2 -t 'TrueAudio' -a "$(sjis '歌手')" -y 2002 "$OUT/tags.tta"

ls -l "$OUT"
