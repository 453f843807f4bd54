#!/usr/bin/env bash
# The main job on the sample picture and map: the desktop program where a
# display is available, the command-line front end otherwise. Coding writes
# diagnostic bitmaps into the current directory, so both run in
# $build/sample-run.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
picture="$top/samples/camera.bmp"
map="$top/samples/camera_felzenszwalb.bmp"
mkdir -p "$build/sample-run"
cd "$build/sample-run"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/bin/tvlc" "$picture" "$map"
fi
echo "No display: encoding the sample with the command-line front end (30 dB, DCT II)."
echo "Decoded picture: $build/sample-run/camera_decoded.bmp"
exec "$build/bin/tvlc-cli" encode "$picture" "$map" --psnr 30 --out camera_decoded.bmp
