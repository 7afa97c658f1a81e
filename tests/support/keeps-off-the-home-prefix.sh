#!/usr/bin/env bash
# The host test program run by hand stays off the user's real prefix: without
# KESTRANE_PREFIX it works in a temporary prefix it removes again and writes
# nothing under the home folder; pointed at the real prefix, however spelled, it
# refuses before touching anything.
#
#   keeps-off-the-home-prefix TESTS WORKDIR
#
# WORKDIR (emptied first) stands in for the home folder, the data folder and the
# temporary folder. Each run is bounded by a timeout.
set -euo pipefail

tests="$(realpath "$1")"
work="$(realpath -m "$2")"
rm -rf "$work"
mkdir -p "$work/home" "$work/data" "$work/tmp"
filter='HostPrefix.HasTheStandardFolders:Files.*'
failures=0

fail() {
  printf 'FAIL %s\n' "$*"
  failures=$((failures + 1))
}

# run EXPECTED-STATUS [NAME=VALUE...]: the test program under a clean environment
# whose home is WORKDIR/home; its output is left in $out.
run() {
  local expected="$1" status=0
  shift
  out="$(env -u KESTRANE_PREFIX -u XDG_DATA_HOME HOME="$work/home" TMPDIR="$work/tmp" "$@" \
    timeout --kill-after=10 120 "$tests" --gtest_filter="$filter" 2>&1)" || status=$?
  if [ "$status" -ne "$expected" ]; then
    fail "$*: exit status $status, expected $expected"
    printf '%s\n' "$out" | tail -n 20
  fi
}

nothing_under() {
  if [ -n "$(find "$1" -mindepth 1 -print -quit)" ]; then
    fail "$2: left behind in $1:"
    find "$1" -mindepth 1 -maxdepth 4 | head -n 10
  fi
}

run 0
nothing_under "$work/home" "without KESTRANE_PREFIX"
nothing_under "$work/tmp" "without KESTRANE_PREFIX"

run 0 KESTRANE_PREFIX="$work/own"
[ -d "$work/own/drive_c/Windows/System32" ] || fail "KESTRANE_PREFIX=$work/own was not used"

real="$work/home/.local/share/kestrane-setup/prefix"
for case in \
  "KESTRANE_PREFIX=$real" \
  "KESTRANE_PREFIX=$work/home/.local/share/../share/kestrane-setup//prefix/" \
  "KESTRANE_PREFIX=$real XDG_DATA_HOME=$work/data" \
  "KESTRANE_PREFIX=$work/data/kestrane-setup/prefix XDG_DATA_HOME=$work/data" \
  "KESTRANE_PREFIX=$work/data/./kestrane-setup/prefix/ XDG_DATA_HOME=$work/data/"; do
  # shellcheck disable=SC2086 # each case is a list of NAME=VALUE words
  run 2 $case
  grep -q 'refuse to run there' <<<"$out" || fail "$case: no refusal in: $out"
done
nothing_under "$work/home" "refused runs"
nothing_under "$work/data" "refused runs"

if [ "$failures" -ne 0 ]; then
  printf '%d check(s) failed\n' "$failures"
  exit 1
fi
echo "the tests keep off the home prefix"
