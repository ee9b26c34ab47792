#!/usr/bin/env bash
# Starts the real program on a fresh X server, clicks its About face as a
# user would (xdotool, through the X server's test extension), and checks a
# screenshot of the about window over the main window. Then checks that the
# main window's cross does nothing while the about window is open, and ends
# the program after OK has closed it.
#   about_window_under_xvfb.sh PROGRAM MAIN_CHECKER ABOUT_CHECKER SKIN.png
#                              ABOUT.png OUT.png
set -euo pipefail
program=$1 main_checker=$2 about_checker=$3 skin=$4 about=$5 out=$6
mkdir -p "$(dirname "$out")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  program=$1 main_checker=$2 about_checker=$3 skin=$4 about=$5 out=$6
  # On the 1024 x 768 screen the main window (635 x 353) and the about
  # window (400 x 250) stand centred.
  main_x=$(( (1024 - 635) / 2 )) main_y=$(( (768 - 353) / 2 ))
  about_x=$(( (1024 - 400) / 2 )) about_y=$(( (768 - 250) / 2 ))
  click() { xdotool mousemove "$1" "$2" click 1 mousemove 5 5; }
  running() { kill -0 "$pid" 2>/dev/null; }

  "$program" & pid=$!
  status=0
  "$main_checker" "$skin" "${out%.png}_before.png" 30 >/dev/null || status=$?
  rm -f "${out%.png}_before.png"
  if [ $status -eq 0 ]; then
    click $((main_x + 546)) $((main_y + 52))            # About
    "$about_checker" "$skin" "$about" "$out" 30 || status=$?
  fi
  if [ $status -eq 0 ]; then
    click $((main_x + 613)) $((main_y + 52))            # the cross
    sleep 0.5
    if ! running; then
      echo "the main window took a click while the about window was open" >&2
      status=1
    fi
  fi
  if [ $status -eq 0 ]; then
    click $((about_x + 343)) $((about_y + 214))         # OK
    sleep 0.3
    click $((main_x + 613)) $((main_y + 52))            # the cross
    for _ in $(seq 50); do running && sleep 0.1; done
    if running; then
      echo "after OK the main window still took no click" >&2
      status=1
    fi
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit $status' check "$program" "$main_checker" "$about_checker" "$skin" \
    "$about" "$out"
