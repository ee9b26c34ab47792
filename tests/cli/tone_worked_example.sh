#!/bin/sh
# quillora-cli tone as a user runs it: a 1000 Hz triangle of 200 ms, 16-bit,
# 96000 Hz, mono. Checks the file's size (44-byte header, 38400 bytes of
# samples, 32 spare bytes) and its first three samples.
# Usage: tone_worked_example.sh PROGRAM WORK_DIR
set -eu
program=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
wav=$work/t.wav

"$program" tone --frequency 1000 --duration 200 --waveform triangle -o "$wav"

size=$(wc -c < "$wav")
if [ "$size" -ne 38476 ]; then
  echo "t.wav is $size bytes, expected 38476" >&2
  exit 1
fi
samples=$(od -An -v --endian=little -t d2 -j 44 -N 6 "$wav" | tr -s ' ' | sed 's/^ //')
if [ "$samples" != "-32767 -31401 -30036" ]; then
  echo "samples 0, 1, 2 are '$samples', expected '-32767 -31401 -30036'" >&2
  exit 1
fi
