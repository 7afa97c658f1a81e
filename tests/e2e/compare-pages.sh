#!/usr/bin/env bash
# The same wizard must look the same on both targets: compares every page
# screenshot of the host `setup` with the one of Setup.exe under Wine, pixel for
# pixel. Only the InstallFolder page's status texts are masked, since they show
# the free space of two different machines; the fatal box is the system's own. A difference in colour order, row
# order or stride on either side shows up here.
#
#   compare-pages HOST_SCREENS WINE_SCREENS DIFF_DIR [SCALE]
#
# SCALE (1, 1.5, 2) is the display scale both were drawn at.
set -euo pipefail

host="$1"
wine="$2"
diffs="$3"
scale="${4:-1}"
mkdir -p "$diffs"
# The text column of the page, from the first status line to above the links
# (window coordinates at 96 dots an inch: frame 4 px, caption bar 24 px, side
# picture 164 px), at the scale.
mask="$(awk -v s="$scale" 'BEGIN { printf "rectangle %d,%d %d,%d", 178*s, 100*s, 508*s, 258*s }')"

failed=0
compared=0
for shot in "$host"/*.png; do
  name="$(basename "$shot")"
  other="$wine/$name"
  [ -f "$other" ] || continue
  a="$shot" b="$other"
  case "$name" in
    fatal.png)
      # The fatal box is the system's own message box, not a page of ours.
      continue
      ;;
    *installfolder*)
      convert "$shot" -fill black -draw "$mask" "$diffs/host-$name"
      convert "$other" -fill black -draw "$mask" "$diffs/wine-$name"
      a="$diffs/host-$name" b="$diffs/wine-$name"
      ;;
  esac
  differing="$(compare -metric AE "$a" "$b" "$diffs/diff-$name" 2>&1 || true)"
  compared=$((compared + 1))
  if [ "$differing" != "0" ]; then
    echo "$name: $differing pixels differ (see $diffs/diff-$name)" >&2
    failed=1
  fi
done
[ "$compared" -gt 0 ] || { echo "no pages to compare in $host and $wine" >&2; exit 1; }
[ "$failed" = 0 ] && echo "ok: $compared pages are the same on both targets"
exit "$failed"
