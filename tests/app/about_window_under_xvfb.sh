#!/usr/bin/env bash
# Starts the real program on a fresh X server, clicks its About face as a
# user would (xdotool, through the X server's test extension), and checks a
# screenshot of the about window over the main window.
#   about_window_under_xvfb.sh PROGRAM MAIN_CHECKER ABOUT_CHECKER SKIN.png
#                              ABOUT.png OUT.png
set -euo pipefail
program=$1 main_checker=$2 about_checker=$3 skin=$4 about=$5 out=$6
mkdir -p "$(dirname "$out")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  program=$1 main_checker=$2 about_checker=$3 skin=$4 about=$5 out=$6
  "$program" & pid=$!
  status=0
  # The main window stands centred on the 1024 x 768 screen, at the size
  # of its skin (635 x 353); its About face is at 522,46, 49 x 12.
  "$main_checker" "$skin" "${out%.png}_before.png" 30 >/dev/null || status=$?
  if [ $status -eq 0 ]; then
    xdotool mousemove $(( (1024 - 635) / 2 + 546 )) $(( (768 - 353) / 2 + 52 ))
    xdotool click 1
    "$about_checker" "$skin" "$about" "$out" 30 || status=$?
  fi
  rm -f "${out%.png}_before.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit $status' check "$program" "$main_checker" "$about_checker" "$skin" \
    "$about" "$out"
