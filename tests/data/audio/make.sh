#!/usr/bin/env bash
# Makes the small encoded test files of the audio engine tests: one second of a 1 kHz sine at
# half amplitude, 44100 Hz mono, in every format that Debian's tools encode. WAV files are
# written by the tests themselves. No tool here encodes MP1, APE, WMA Pro or WMA Lossless.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sox -n -r 44100 -c 1 -b 16 "$tmp/tone.wav" synth 1.0 sine 1000 vol 0.5
q="-hide_banner -loglevel error -y"
o="-map_metadata -1 -bitexact"
lame --quiet -b 128 "$tmp/tone.wav" tone.mp3
ffmpeg $q -i "$tmp/tone.wav" $o -c:a mp2 -b:a 128k tone.mp2
oggenc --quiet -q 3 -o tone.ogg "$tmp/tone.wav"
ffmpeg $q -i "$tmp/tone.wav" $o -c:a wmav1 -b:a 64k tone_v1.wma
ffmpeg $q -i "$tmp/tone.wav" $o -c:a wmav2 -b:a 64k tone.wma
ffmpeg $q -i "$tmp/tone.wav" $o -c:a aac -b:a 64k tone.aac
ffmpeg $q -i "$tmp/tone.wav" $o -c:a aac -b:a 64k tone.m4a
ffmpeg $q -i "$tmp/tone.wav" $o -c:a alac tone_alac.m4a
flac --silent -f -o tone.flac "$tmp/tone.wav"
ffmpeg $q -i "$tmp/tone.wav" $o -c:a tta tone.tta
