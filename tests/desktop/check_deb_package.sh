#!/usr/bin/env bash
# Builds the .deb with CPack and checks it: its fields and computed library
# dependencies, its files under /usr, its programs running from the unpacked
# tree, and that apt would install it here (simulated, nothing is changed).
#   check_deb_package.sh BUILD_DIR SCRATCH_DIR VERSION
set -euo pipefail
build=$1 scratch=$2 version=$3
rm -rf "$scratch"
mkdir -p "$scratch"
cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log" >&2
  exit 1
}
deb=$scratch/quillora_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $deb" >&2; exit 1; }

status=0
fail() { echo "FAIL: $*" >&2; status=1; }
field() { dpkg-deb --field "$deb" "$1"; }

[ "$(field Package)" = quillora ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
depends=$(field Depends)
echo "Depends: $depends"
# Found by dpkg-shlibdeps from the program's libraries...
for library in libqt6widgets6 libqt6gui6 libqt6core6 libsdl2-2.0-0 libstdc++6 libc6; do
  [[ $depends == *"$library ("* ]] || fail "Depends lacks $library"
done
# ...and what it loads without linking.
for package in qt6-qpa-plugins fonts-liberation2 fonts-dejavu-core; do
  [[ $depends == *"$package"* ]] || fail "Depends lacks $package"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in ./usr/bin/quillora ./usr/bin/quillora-cli \
  ./usr/lib/quillora/quillora ./usr/lib/quillora/qz.chm \
  ./usr/lib/quillora/melodies/ode_to_joy.qlr \
  ./usr/lib/quillora/help/contents.html \
  ./usr/share/applications/org.example.Quillora.desktop \
  ./usr/share/metainfo/org.example.Quillora.metainfo.xml \
  ./usr/share/mime/packages/org.example.Quillora.xml \
  ./usr/share/icons/hicolor/256x256/apps/org.example.Quillora.png \
  ./usr/share/man/man1/quillora-cli.1.gz; do
  grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
# Nothing outside /usr.
if grep -v '^\./usr/\|^\./$' <<<"$contents" | grep -q .; then
  fail "files outside /usr: $(grep -v '^\./usr/\|^\./$' <<<"$contents" | head -3)"
fi

# The stripped programs run from the unpacked tree.
dpkg-deb -x "$deb" "$scratch/root"
file -b "$scratch/root/usr/lib/quillora/quillora" | grep -q 'stripped' &&
  ! file -b "$scratch/root/usr/lib/quillora/quillora" | grep -q 'not stripped' ||
  fail "the program is not stripped"
keys=$(printf '4c1 8d1' | "$scratch/root/usr/bin/quillora-cli" keys)
[ "$keys" = $'2\n1, 28, ' ] || fail "the packaged quillora-cli printed: $keys"
missing=$(ldd "$scratch/root/usr/lib/quillora/quillora" | grep 'not found' || true)
[ -z "$missing" ] || fail "libraries not found: $missing"

# apt's answer on this machine, simulated.
if ! apt-get install --simulate -q "$deb" >"$scratch/apt.log" 2>&1; then
  cat "$scratch/apt.log" >&2
  fail "apt-get would not install the package"
fi

[ $status -eq 0 ] && echo "$(basename "$deb"): all checks passed"
exit $status
