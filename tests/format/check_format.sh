#!/bin/sh
# Fails when a C++ source of the project differs from what clang-format
# makes of it, and names the files. Usage: check_format.sh SOURCE_DIR
set -eu
cd "$1"
files=$(find base components notation sound toolkit keyentry files app cli \
  resources tests bench -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
unformatted=""
for file in $files; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted="$unformatted $file"
  fi
done
if [ -n "$unformatted" ]; then
  echo "Not formatted (run clang-format -i):$unformatted" | tr ' ' '\n'
  exit 1
fi
echo "$(echo "$files" | wc -w) files formatted"
