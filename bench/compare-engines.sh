#!/usr/bin/env bash
# Encodes pictures with both engines through tvlc-cli encode and compress and
# compares what a user sees: per-shape iterations and PSNR as printed, the decoded
# picture and the compressed file, byte for byte. One line per case:
#   picture map request shapes iterations psnr decoded compressed fast_s literal_s
# (the times are those of the encode command alone).
# Usage: bench/compare-engines.sh BUILD_DIR PICTURE:MAP[:REQUEST,...] ...
# (default requests 20,30,40,100).
set -euo pipefail
build=$(cd "$1" && pwd)
shift
cli="$build/bin/tvlc-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start_dir=$PWD
cd "$work"
same() {
  if [[ ! -e $1 && ! -e $2 ]]; then echo refused; else cmp -s "$1" "$2" && echo same || echo DIFFERENT; fi
}
for case in "$@"; do
  IFS=: read -r picture map requests <<<"$case"
  picture=$(cd "$start_dir" && realpath "$picture")
  map=$(cd "$start_dir" && realpath "$map")
  requests=${requests:-20,30,40,100}
  for request in ${requests//,/ }; do
    for engine in fast literal; do
      start=$(date +%s.%N)
      "$cli" encode "$picture" "$map" --psnr "$request" --csv --out "$engine.bmp" \
        --engine "$engine" >"$engine.csv"
      end=$(date +%s.%N)
      awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }' >"$engine.time"
      # A file the format cannot hold is refused; both engines must agree on that too.
      rm -f "$engine.tvzx"
      "$cli" compress "$picture" "$map" "$engine.tvzx" --psnr "$request" --engine "$engine" \
        >/dev/null 2>&1 || rm -f "$engine.tvzx"
      grep -v '^#' "$engine.csv" | tail -n +2 >"$engine.shapes" || true
    done
    shapes=$(wc -l <fast.shapes)
    iterations=$(same <(cut -d, -f1,4 fast.shapes) <(cut -d, -f1,4 literal.shapes))
    psnr=$(same <(cut -d, -f1,5 fast.shapes) <(cut -d, -f1,5 literal.shapes))
    echo "$(basename "$picture") $(basename "$map") $request $shapes $iterations $psnr" \
      "$(same fast.bmp literal.bmp) $(same fast.tvzx literal.tvzx)" \
      "$(cat fast.time) $(cat literal.time)"
  done
done
