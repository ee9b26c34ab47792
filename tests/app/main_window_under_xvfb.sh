#!/usr/bin/env bash
# Starts the real program on a fresh X server and checks a screenshot of it.
#   main_window_under_xvfb.sh PROGRAM CHECKER SKIN.png OUT.png
set -euo pipefail
program=$1 checker=$2 skin=$3 out=$4
mkdir -p "$(dirname "$out")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  "$1" & pid=$!
  status=0
  "$2" "$3" "$4" 30 || status=$?
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit $status' check "$program" "$checker" "$skin" "$out"
