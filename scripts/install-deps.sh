#!/usr/bin/env bash
# Installs the Debian packages Morvane needs; installs only what is missing.
# usage: scripts/install-deps.sh [build|test|bench|fuzz|pkg|all]   (default: build)
set -euo pipefail

# libqt6svg6 draws the window's SVG icon at run time; libxcb1-dev reads the
# X11 clipboard byte for byte.
build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libicu-dev libgtest-dev libgmock-dev
                libbenchmark-dev libqt6svg6 libxcb1-dev)
# nodejs is the reference engine; Xvfb, xclip and xdotool drive the real
# window; the CJK font makes captions legible in screenshots; the validators
# and man check the installed tree.
test_packages=(nodejs xvfb xauth xclip xdotool x11-utils fonts-wqy-microhei
               desktop-file-utils appstream man-db)
bench_packages=(nodejs time)
# libFuzzer comes with clang's runtime libraries.
fuzz_packages=(clang libclang-rt-14-dev)
# cpack -G DEB runs dpkg-shlibdeps and file; lintian checks the result.
pkg_packages=(dpkg-dev file lintian)

case "${1:-build}" in
  build) wanted=("${build_packages[@]}") ;;
  test) wanted=("${build_packages[@]}" "${test_packages[@]}") ;;
  bench) wanted=("${build_packages[@]}" "${bench_packages[@]}") ;;
  fuzz) wanted=("${build_packages[@]}" "${fuzz_packages[@]}") ;;
  pkg) wanted=("${build_packages[@]}" "${pkg_packages[@]}") ;;
  all) wanted=("${build_packages[@]}" "${test_packages[@]}" "${bench_packages[@]}" "${fuzz_packages[@]}"
               "${pkg_packages[@]}") ;;
  *) echo "usage: $0 [build|test|bench|fuzz|pkg|all]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  # A package counts as present when dpkg has it installed (any origin).
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$package")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
  echo "install-deps: no apt-get here; install these packages yourself: ${missing[*]}" >&2
  exit 1
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "install-deps: installing ${missing[*]}" >&2
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
