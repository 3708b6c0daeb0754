#!/usr/bin/env bash
# Makes the benchmark's 60-second files (stereo pink noise, 44100 Hz) in the given folder:
# bench60.mp3 (192 kbit/s), bench60.flac and bench60.ogg (quality 5).
set -euo pipefail
out=$1
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sox -R -n -r 44100 -c 2 -b 16 "$tmp/bench.wav" synth 60 pinknoise vol 0.3
lame --quiet -b 192 "$tmp/bench.wav" "$out/bench60.mp3"
flac --silent -f -o "$out/bench60.flac" "$tmp/bench.wav"
oggenc --quiet -q 5 -o "$out/bench60.ogg" "$tmp/bench.wav"
