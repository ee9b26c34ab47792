#!/usr/bin/env bash
# The end-to-end run: installs the build into a scratch prefix, starts an X
# server with the openbox window manager, and lets the driver use the
# installed program there as a person would, with SDL's disk sound driver
# writing what it plays into a file.
#   run_e2e.sh BUILD_DIR DRIVER ART_DIR ARTIFACTS_DIR SCRATCH_DIR
set -euo pipefail
build=$1 driver=$2 art=$3 artifacts=$4 scratch=$5
rm -rf "$scratch"
mkdir -p "$scratch/home" "$artifacts"
rm -f "$artifacts"/e2e_*.png
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null

export QT_QPA_PLATFORM=xcb
# The file dialogs keep their state under the home folder: a scratch one.
export HOME=$scratch/home
export XDG_CONFIG_HOME=$scratch/home/.config
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  driver=$1 art=$2 artifacts=$3 scratch=$4
  ready=$scratch/openbox-ready
  openbox --startup "touch $ready" & wm=$!
  for _ in $(seq 400); do [ -e "$ready" ] && break; sleep 0.05; done
  if [ ! -e "$ready" ]; then
    echo "openbox did not start" >&2
    kill $wm 2>/dev/null || true
    exit 1
  fi
  status=0
  "$driver" "$scratch/prefix" "$art" "$artifacts" "$scratch" || status=$?
  kill $wm 2>/dev/null || true
  wait $wm 2>/dev/null || true
  exit $status' e2e "$driver" "$art" "$artifacts" "$scratch"
