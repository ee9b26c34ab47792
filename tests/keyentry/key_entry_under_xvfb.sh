#!/usr/bin/env bash
# Runs the real program on a fresh X server and lets the screen checker type
# a melody, press START and watch the lit keys.
#   key_entry_under_xvfb.sh PROGRAM CHECKER ART_DIR OUT_DIR MELODY KEYS
set -euo pipefail
program=$1 checker=$2 art=$3 out=$4 melody=$5 keys=$6
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  "$1" & pid=$!
  status=0
  "$2" "$3" "$4" "$5" "$6" || status=$?
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" && code=0 || code=$?
    echo "the program had ended early, exit status $code" >&2
    status=1
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit $status' check "$program" "$checker" "$art" "$out" "$melody" "$keys"
