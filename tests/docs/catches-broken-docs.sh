#!/usr/bin/env bash
# The documents check must find every fault in a small tree built with them (a
# missing page, a missing heading either way, a picture that is no PNG, a
# command that is no program, CI's test command left out of the README) and
# nothing else: web addresses, links inside code and good links must pass.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
if "$here/../../scripts/check-docs" "$here/broken" >"$out" 2>&1; then
  echo "the check passed a tree with broken documents" >&2
  exit 1
fi
diff -u "$here/broken.expected" "$out"
