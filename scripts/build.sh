#!/usr/bin/env bash
# Builds Quillora on Debian 12, installing what the build needs first.
#
#   scripts/build.sh run    build the program and start it
#   scripts/build.sh test   build every configuration and run the whole suite
#
# Build trees: build/ (the program, tests and benchmarks, with g++),
# build-asan/ (clang, address and undefined-behaviour sanitizers, fuzzers),
# build-tsan/ (clang, thread sanitizer). The sanitizer trees hold the
# libraries without a window, the sound output included: that is where the
# threads and the parsers live.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins libsdl2-dev
  xvfb xauth xdotool fonts-liberation2 fonts-dejavu-core sox ccache clang-format
  fp-utils libchm-bin xdg-utils
  openbox desktop-file-utils appstream shared-mime-info dpkg-dev man-db file
)

install_missing_packages() {
  local missing=()
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=120 update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=120 \
    install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  local dir=$1
  shift
  cmake -S "$root" -B "$root/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$root/$dir" -j "$jobs"
}

build_main() {
  configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
}

run_tests() {
  build_main
  echo "== tests (build/)"
  (cd "$root/build" && ctest --output-on-failure -j "$jobs")

  echo "== address and undefined-behaviour sanitizers, fuzzers (build-asan/)"
  configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DQUILLORA_SANITIZE=address,undefined \
    -DQUILLORA_GUI=OFF -DQUILLORA_SOUND_OUTPUT=ON -DQUILLORA_BENCH=OFF \
    -DQUILLORA_FORMAT_CHECK=OFF \
    -DQUILLORA_FUZZ=ON
  (cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 \
    UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

  echo "== thread sanitizer (build-tsan/)"
  configure_and_build build-tsan -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DQUILLORA_SANITIZE=thread \
    -DQUILLORA_GUI=OFF -DQUILLORA_SOUND_OUTPUT=ON -DQUILLORA_BENCH=OFF \
    -DQUILLORA_FORMAT_CHECK=OFF
  (cd "$root/build-tsan" && TSAN_OPTIONS=halt_on_error=1 \
    ctest --output-on-failure -j "$jobs" -L 'core|sound')
}

run_program() {
  build_main
  exec "$root/build/app/quillora"
}

case "${1:-}" in
  run) install_missing_packages; run_program ;;
  test) install_missing_packages; run_tests ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac
