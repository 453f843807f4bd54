#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need;
# apt-get runs only when one of them is missing. With the argument "clang"
# also what the instrumented builds need (`make fuzz`, `make test-sanitize`).
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  qt6-base-dev                 # the desktop shell
  qt6-charts-dev qt6-svg-dev   # the Coder tab's PSNR chart; the rate-distortion study's curves and their SVG export
  libpng-dev libjpeg62-turbo-dev libtiff-dev  # picture files beside BMP
  libgtest-dev                 # tests
  libbenchmark-dev libfftw3-dev  # benchmarks (FFTW only as a reference figure)
  binutils                     # nm, for the module export check
  locales                      # localedef and de_DE, for the decimal-comma tests
  pkg-config zlib1g-dev        # the map's cost in rate-distortion studies
  libopenjp2-7-dev             # JPEG 2000 beside region coding (JPEG through libjpeg above)
  libjpeg-turbo-progs          # cjpeg and djpeg, the JPEG rows' reference in the tests
)
if [ "${1:-}" = clang ]; then
  packages+=(clang libclang-rt-14-dev)  # libFuzzer, AddressSanitizer, UBSan
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi
