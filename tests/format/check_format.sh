#!/bin/sh
# Fails when a C++ source of the project differs from what clang-format
# makes of it, and names the files. Usage: check_format.sh SOURCE_DIR
set -eu
cd "$1"
files=$(find base components notation sound toolkit keyentry files app cli \
  resources tests bench -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
# shellcheck disable=SC2086
if ! report=$(clang-format --dry-run --Werror $files 2>&1); then
  echo "Not formatted; run clang-format -i on:"
  echo "$report" | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error:.*/  \1/p' | sort -u
  exit 1
fi
echo "$(echo "$files" | wc -w) files formatted"
