#!/usr/bin/env bash
# The README's screenshots: the sample after Encode All and Decode All at
# 1366x768 and 1920x1080, taken under Xvfb into docs/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
cmake --build "$build" --target tvlc-screenshots
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
xvfb-run -a -s "-screen 0 1920x1080x24" "$build/bin/tvlc-screenshots" \
  "$top/samples/camera.bmp" "$top/samples/camera_felzenszwalb.bmp" "$top/docs" \
  1366x768 1920x1080
