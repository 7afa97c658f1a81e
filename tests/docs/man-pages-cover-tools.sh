#!/usr/bin/env bash
# Each tool's manual page keeps up with the tool: every subcommand and every
# option its --help lists appears in the page (docs/man/PAGE.1).
#
#   man-pages-cover-tools.sh MAN_DIR PAGE=PROGRAM...
set -euo pipefail
man_dir="$1"
shift
missing=0
for pair in "$@"; do
  page="$man_dir/${pair%%=*}.1"
  program="${pair#*=}"
  # The page as text: troff's escaped hyphens made plain.
  text="$(sed 's/\\-/-/g' "$page")"
  help="$("$program" --help)"
  # Subcommands are listed under "Subcommands:", two blanks in, one per line.
  subcommands="$(awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' <<<"$help")"
  helps="$help"
  for sub in $subcommands; do
    grep -qE "^\.B $sub\$" <<<"$text" || {
      echo "${pair%%=*}.1: no section for the subcommand $sub" >&2
      missing=1
    }
    helps+=$'\n'"$("$program" "$sub" --help)"
  done
  for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$helps" | sort -u); do
    [ "$option" != --help ] || continue
    grep -qF -- "$option" <<<"$text" || {
      echo "${pair%%=*}.1: the option $option is not described" >&2
      missing=1
    }
  done
done
exit "$missing"
