#!/bin/sh
# The RTTTL, check and render commands as a user runs them:
# - an RTTTL tune imports to a melody whose key list has no ERROR, tempo 100;
# - check lists the three faulty notes with their columns and exits 1;
# - a rendered melody opens in Python's wave module (and sox, when there is
#   one) and lasts the sum of the player's waits.
# Usage: melody_tools_must_show.sh PROGRAM WORK_DIR
set -eu
program=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
fail() {
  echo "$*" >&2
  exit 1
}

printf 'Tune:d=4,o=5,b=100:8c6,8e6,4g6,p,8a#5,2c.6' |
  "$program" import-rtttl > "$work/tune.txt"
grep -qx 'Temp=100' "$work/tune.txt" || fail "no tempo 100 in: $(cat "$work/tune.txt")"
notes=$(sed -n 's/^Notes=//p' "$work/tune.txt")
[ -n "$notes" ] || fail "no notes in: $(cat "$work/tune.txt")"
keys=$(printf '%s' "$notes" | "$program" keys)
case $keys in
  *ERROR*) fail "key list of '$notes' shows ERROR: $keys" ;;
esac
# The printed melody reads back as a melody file.
"$program" export-rtttl < "$work/tune.txt" > "$work/tune.rtttl"
[ "$(cat "$work/tune.rtttl")" = 'Tune:b=100:8c,8e,g,p,8a#5,2c,c' ] ||
  fail "export gave $(cat "$work/tune.rtttl")"

status=0
printf '8c2 4#e2 3c1 8c4 8d2' | "$program" check > "$work/check.txt" || status=$?
[ "$status" -eq 1 ] || fail "check exited $status, expected 1"
cat > "$work/check.expected" <<'END'
1:5: 4#e2: E has no sharp on the phone
1:10: 3c1: length 3 is not one of 1, 2, 4, 8, 16, 32
1:14: 8c4: octave 4 is beyond the phone's three octaves
END
cmp "$work/check.txt" "$work/check.expected" || fail "check printed: $(cat "$work/check.txt")"
printf '8c2 4#f1 16-' | "$program" check > "$work/clean.txt" ||
  fail "check of a good melody failed"
[ ! -s "$work/clean.txt" ] || fail "check of a good melody printed lines"

# At tempo 120: 4c1 462 ms, 8e1 231, 4- 462, 2g2 925: 2080 ms in all.
printf '4c1 8e1 4- 2g2' | "$program" render -o "$work/melody.wav" --tempo 120
python3 - "$work/melody.wav" <<'END'
import sys, wave
with wave.open(sys.argv[1]) as w:
    frames, rate = w.getnframes(), w.getframerate()
    ms = frames * 1000 // rate
    if (w.getnchannels(), w.getsampwidth()) != (1, 2) or ms != 2080:
        sys.exit(f"wave read {w.getnchannels()} channels, {w.getsampwidth()} "
                 f"bytes, {frames} frames at {rate} Hz = {ms} ms")
END
if command -v soxi > /dev/null 2>&1; then
  duration=$(soxi -D "$work/melody.wav")
  [ "$duration" = "2.080000" ] || fail "sox reads $duration s"
fi
