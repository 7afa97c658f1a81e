#!/usr/bin/env bash
# Checks the hardening of a built Windows setup:
# - it imports only libraries that Windows always takes from its system folder,
#   so no library planted beside it can be loaded before its first line runs;
# - ASLR and DEP are on, and the relocations that ASLR needs are kept;
# - its manifest asks for administrator rights;
# - under Wine, told to prefer a planted msvfw32.dll (WINEDLLOVERRIDES, as
#   Windows searches the program's folder first for a library outside that set),
#   the setup beside such a copy shows its wizard without loading it, while a
#   control program that loads msvfw32 by name does load it, and does not once
#   it has made the setup's restriction.
#
#   hardening-check SETUP.exe PLANTED_msvfw32.dll CONTROL.exe WORKDIR
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../e2e/lib.sh
. "$here/../e2e/lib.sh"

setup="$(realpath "$1")"
planted="$(realpath "$2")"
control="$(realpath "$3")"
work="$(realpath -m "$4")"
mkdir -p "$work"
export E2E_DIAGNOSE="$work"
trap 'e2e_cleanup; wine_stop' EXIT

# --- the program file ----------------------------------------------------------
headers="$(i686-w64-mingw32-objdump -p "$setup")"
# Known DLLs of every Windows since XP, and the C runtime, which is one too.
system_dlls=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll msvcrt.dll "
imports="$(awk '/DLL Name:/ { print tolower($3) }' <<<"$headers" | sort -u)"
[ -n "$imports" ] || e2e_fail "no import table found"
for dll in $imports; do
  case "$system_dlls" in
    *" $dll "*) ;;
    *) e2e_fail "the setup imports $dll, which Windows may take from the setup's own folder" ;;
  esac
done
echo "ok: imports only $(echo $imports)"
grep -q '^[[:space:]]*DYNAMIC_BASE' <<<"$headers" || e2e_fail "ASLR (dynamic base) is off"
grep -q '^[[:space:]]*NX_COMPAT' <<<"$headers" || e2e_fail "DEP (NX compatible) is off"
grep -qi 'relocations stripped' <<<"$headers" && e2e_fail "the relocations were stripped"
i686-w64-mingw32-objdump -h "$setup" | grep -q ' \.reloc ' || e2e_fail "no relocation section"
echo "ok: ASLR and DEP on, relocations kept"
grep -aq 'requestedExecutionLevel level="requireAdministrator"' "$setup" ||
  e2e_fail "the manifest does not ask for administrator rights"
echo "ok: the manifest asks for administrator rights"

# --- a planted msvfw32.dll ---------------------------------------------------------
x11_start_xvfb
e2e_wine_prefix "$work/wine" "$work/home"
folder="$work/download"
rm -rf "$folder"
mkdir -p "$folder"
cp "$setup" "$folder/KestraneSetupUnderTest.exe"
cp "$control" "$folder/load-msvfw32.exe"
cp "$planted" "$folder/msvfw32.dll"
mark="$folder/planted-msvfw32-loaded.txt"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;msvfw32=n,b"

timeout 120 wine "$folder/load-msvfw32.exe" >/dev/null 2>&1 || true
[ -f "$mark" ] || e2e_fail "the control did not load the planted copy: this test could not see a planted load"
rm -f "$mark"
echo "ok: loaded by name without the restriction, the planted copy is loaded"
timeout 120 wine "$folder/load-msvfw32.exe" restricted >/dev/null 2>&1 ||
  e2e_fail "the control could not load the system's msvfw32 after the restriction"
[ ! -f "$mark" ] || e2e_fail "the planted copy was loaded after the restriction"
echo "ok: after the restriction, the system's copy is loaded"

target_launch wine "$work/setup.log" "$folder/KestraneSetupUnderTest.exe"
setup_pid=$target_pid
win="$(x11_wait_window "Kestrane Setup" 60)" || e2e_fail "the setup's window did not appear"
x11_wait_stable "$win" 20 || e2e_fail "the setup did not settle"
x11_shot "$win" "$work/welcome.png"
x11_keys "$win" Escape
question="$(x11_wait_window "Cancel Setup?" 20)" || e2e_fail "Escape asked nothing"
x11_keys "$question" y
e2e_wait_exit "$setup_pid" 30 || e2e_fail "the setup did not end"
[ ! -f "$mark" ] || e2e_fail "the setup loaded the planted msvfw32.dll"
echo "ok: the setup paints its wizard beside a planted msvfw32.dll without loading it"
