#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the layout: the
# program with its melodies and help in lib/quillora, the launcher and the
# companion in bin, the desktop files, icons and manual pages under share,
# each usable as the desktop would use it.
#   check_installed_layout.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1 prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
fail() { echo "FAIL: $*" >&2; status=1; }
id=org.example.Quillora

for file in bin/quillora bin/quillora-cli lib/quillora/quillora; do
  [ -x "$prefix/$file" ] || fail "$file is missing or not executable"
done
for file in lib/quillora/qz.chm lib/quillora/help/contents.html \
  lib/quillora/help/style.css lib/quillora/melodies/ode_to_joy.qlr \
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/mime/packages/$id.xml share/man/man1/quillora.1.gz \
  share/man/man1/quillora-cli.1.gz; do
  [ -f "$prefix/$file" ] || fail "$file is missing"
done

# Every shipped melody, and nothing else, beside the program.
source_melodies=$(cd "$(dirname "$0")/../../melodies" && ls ./*.qlr | sort)
installed_melodies=$(cd "$prefix/lib/quillora/melodies" && ls ./* | sort)
[ "$source_melodies" = "$installed_melodies" ] ||
  fail "the installed melodies differ from melodies/"

# The icon at every size, square, with an alpha channel.
for size in 16 22 24 32 48 64 128 256 512; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  description=$(file -b "$icon" 2>/dev/null || true)
  case $description in
    "PNG image data, $size x $size, 8-bit/color RGBA"*) ;;
    *) fail "icon ${size}x$size: ${description:-missing}" ;;
  esac
done

# The entry starts the launcher, which the desktop finds on its PATH.
desktop-file-validate "$prefix/share/applications/$id.desktop" ||
  fail "the installed desktop entry is not valid"
grep -qx 'Exec=quillora %f' "$prefix/share/applications/$id.desktop" ||
  fail "the entry does not start quillora with the file"
grep -qx 'Icon=org.example.Quillora' "$prefix/share/applications/$id.desktop" ||
  fail "the entry does not name the icon"

# The shared-mime-info type: compiled, it maps *.qlr to the type the entry
# opens.
update-mime-database "$prefix/share/mime" 2>/dev/null ||
  fail "update-mime-database refuses the type"
grep -q '^50:application/x-quillora-melody:\*\.qlr$' \
  "$prefix/share/mime/globs2" || fail "*.qlr is not the melody type"
grep -q 'MimeType=application/x-quillora-melody;' \
  "$prefix/share/applications/$id.desktop" ||
  fail "the entry does not open the melody type"

# The manual pages render without warnings.
for page in quillora quillora-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l \
    "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
done

# The companion runs from bin, and the launcher reaches the program even
# through a symbolic link, as from /usr/local/bin.
keys=$(printf '8c2 4#f1 16-' | "$prefix/bin/quillora-cli" keys)
[ "$keys" = $'3\n18*, 4#9**,  088, ' ] || fail "quillora-cli keys printed: $keys"
ln -sf "$prefix/bin/quillora" "$prefix/linked-quillora"
program=$(sed -n 's/^exec "\(.*\)" "\$@"$/\1/p' "$prefix/bin/quillora")
[ -n "$program" ] || fail "the launcher does not exec the program"
here=$(dirname "$(readlink -f "$prefix/linked-quillora")")
resolved=$(eval "echo \"$program\"")
[ "$(readlink -f "$resolved")" = "$(readlink -f "$prefix/lib/quillora/quillora")" ] ||
  fail "the launcher starts $resolved"

[ $status -eq 0 ] && echo "installed layout in $prefix: all checks passed"
exit $status
