#!/usr/bin/env bash
# The layer check must find every upward include in a small tree built to break
# the order (each include form once, a tool reaching into a backend, an upward
# link), and nothing else: its allowed includes must pass.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if "$here/../../scripts/check-layers" "$here/upward" >"${TMPDIR:-/tmp}/layers.$$" 2>/dev/null; then
  echo "the check passed a tree with upward includes" >&2
  exit 1
fi
diff -u "$here/upward.expected" "${TMPDIR:-/tmp}/layers.$$"
rm -f "${TMPDIR:-/tmp}/layers.$$"
