#!/usr/bin/env bash
# Starts each damaged setup and checks that it shows the fatal box, no wizard
# window, and ends with -1 once the box is answered.
#
#   damaged-setups host|wine WORKDIR SETUP...
#
# host: each SETUP is a host `setup`, run in a fresh prefix under WORKDIR.
# wine: each SETUP is a Windows program, run under Wine in a 32-bit prefix under
#       WORKDIR (made once, about a minute). The box of each is kept in
#       WORKDIR/screens.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../e2e/lib.sh
. "$here/../e2e/lib.sh"

target="$1"
work="$(realpath -m "$2")"
shift 2
mkdir -p "$work"
rm -rf "$work/screens" "$work/prefix"
mkdir -p "$work/screens"
export E2E_DIAGNOSE="$work"
trap 'e2e_cleanup; wine_stop' EXIT

x11_start_xvfb
if [ "$target" = wine ]; then
  e2e_wine_prefix "$work/wine" "$work/home"
else
  export KESTRANE_PREFIX="$work/prefix" SDL_VIDEODRIVER=x11
  mkdir -p "$KESTRANE_PREFIX"
fi

for setup in "$@"; do
  name="$(basename "$setup" .exe)"
  started=$SECONDS
  target_launch "$target" "$work/setup.log" "$(realpath "$setup")"
  setup_pid=$target_pid
  fatal="$(x11_wait_window "Kestrane Setup - Fatal error" 60)" || e2e_fail "$name: no fatal box"
  [ -z "$(x11_find_windows "Kestrane Setup")" ] || e2e_fail "$name: a wizard window was shown"
  x11_shot "$fatal" "$work/screens/$name.png"
  x11_keys "$fatal" Return
  e2e_wait_exit "$setup_pid" 30 || e2e_fail "$name did not end after the fatal box"
  [ "$E2E_STATUS" = 255 ] || e2e_fail "$name ended with $E2E_STATUS, not -1"
  echo "ok: $name shows the fatal box and ends with -1 ($((SECONDS - started)) s)"
done
