#!/usr/bin/env bash
# Each tool's manual page keeps up with the tool: every subcommand and every
# option its --help lists appears in the page (docs/man/PAGE.1), and in its
# synopsis, each subcommand's options in that subcommand's lines there.
#
#   man-pages-cover-tools.sh MAN_DIR PAGE=PROGRAM...
set -euo pipefail
man_dir="$1"
shift
missing=0

# The options a --help text lists, each as its names joined by "|" ("-o|--output"),
# but for --help itself.
options_of() {  # help
  awk '/^  -/ { n = split($1, name, ","); s = name[1]
                for (i = 2; i <= n; ++i) s = s "|" name[i]; print s }' <<<"$1" |
    grep -vE -- '(^|[|])--help$' || true
}
# The lines of `synopsis` that show `sub` (all of them when sub is empty): from
# its ".B PROGRAM SUB" up to the next subcommand's.
lines_of() {  # synopsis sub
  awk -v want="$2" '/^\.B [a-z][a-z-]* [a-z]+$/ { on = (want == "" || $3 == want) }
                    want == "" || on' <<<"$1"
}
# Says which options of `help` the lines leave out.
check_synopsis() {  # page lines help what
  local names
  while IFS= read -r names; do
    [ -n "$names" ] || continue
    grep -qE -- "(^|[^a-z-])($names)([^a-z-]|\$)" <<<"$2" || {
      echo "$1: the synopsis of $4 leaves out ${names##*|}" >&2
      missing=1
    }
  done <<<"$(options_of "$3")"
}

for pair in "$@"; do
  page="$man_dir/${pair%%=*}.1"
  program="${pair#*=}"
  # The page as text: troff's escaped hyphens made plain.
  text="$(sed 's/\\-/-/g' "$page")"
  help="$("$program" --help)"
  # Subcommands are listed under "Subcommands:", two blanks in, one per line.
  subcommands="$(awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' <<<"$help")"
  helps="$help"
  synopsis="$(awk '/^\.SH SYNOPSIS/ { on = 1; next } /^\.SH/ { on = 0 } on' <<<"$text")"
  check_synopsis "${pair%%=*}.1" "$synopsis" "$help" "${pair%%=*}"
  for sub in $subcommands; do
    check_synopsis "${pair%%=*}.1" "$(lines_of "$synopsis" "$sub")" \
      "$("$program" "$sub" --help)" "${pair%%=*} $sub"
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
