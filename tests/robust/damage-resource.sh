#!/usr/bin/env bash
# Writes a damaged copy of a package or skin resource, as a download cut short
# or a flipped disk block would leave it.
#
#   damage-resource cut|jpeg IN OUT
#
# cut:  only the first half of the bytes.
# jpeg: the first JPEG picture inside loses its frame: right after its start
#       marker come end-of-image markers, so it holds no picture to decode.
set -euo pipefail

mode="$1" in="$2" out="$3"
cp "$in" "$out.tmp"
case "$mode" in
  cut)
    size="$(stat -c %s "$in")"
    truncate -s $((size / 2)) "$out.tmp"
    ;;
  jpeg)
    start="$(LC_ALL=C grep -obUaP '\xFF\xD8\xFF' "$in" | head -n 1 | cut -d: -f1 || true)"
    [ -n "$start" ] || { echo "damage-resource: no JPEG in $in" >&2; exit 1; }
    printf '\xFF\xD9%.0s' $(seq 16) |
      dd of="$out.tmp" bs=1 seek=$((start + 2)) conv=notrunc status=none
    ;;
  *)
    echo "damage-resource: unknown damage '$mode'" >&2
    exit 2
    ;;
esac
mv "$out.tmp" "$out"
