#!/usr/bin/env bash
# A setup made by `kpack setup` from the Windows build's stub, checked as a user
# and a vendor would: its resources read back through the Windows resource calls
# under Wine and by `kpack check` and `kskin check`; then it runs under Wine on a
# private X server and installs the demo product. The same again signed with a
# throwaway certificate, after osslsigncode has accepted the signature.
#
#   finished-setup-check KPACK KSKIN STUB PROBE MANIFEST PACKAGE SKIN ICON WORKDIR
#
# PACKAGE is the demo's package as kpack build made it, SKIN and ICON what the
# stub was built with. Exits with 77 (skipped, saying why) when Wine, Xvfb or
# xdotool is missing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
kpack="$1" kskin="$2" stub="$3" probe="$4" manifest="$5" package="$6" skin="$7" icon="$8"
work="$(realpath -m "$9")"

for tool in wine wineboot wineserver Xvfb xdotool import compare; do
  if ! command -v "$tool" >/dev/null; then
    echo "kpack_setup_wine: skipped: $tool is not installed"
    exit 77
  fi
done

# shellcheck source=../e2e/lib.sh
. "$here/../e2e/lib.sh"
rm -rf "$work"
mkdir -p "$work"
export E2E_DIAGNOSE="$work"
trap 'e2e_cleanup; wine_stop' EXIT

# --- the setup and its resources ------------------------------------------------
setup="$work/DemoProductSetup.exe"
start=$(date +%s%N)
"$kpack" setup "$manifest" --stub "$stub" -o "$setup" || e2e_fail "kpack setup failed"
echo "kpack setup took $((($(date +%s%N) - start) / 1000000)) ms for $(stat -c %s "$setup") bytes" \
  "(stub $(stat -c %s "$stub") bytes)"
"$kpack" check "$setup" >"$work/check.json" || e2e_fail "kpack check refused the setup"
grep -q '"displayName": "Demo Product"' "$work/check.json" || e2e_fail "kpack check: wrong product"
"$kskin" check "$setup" >/dev/null || e2e_fail "kskin check refused the setup"

wine_env "$work/wine" "$work/home"
wine_prefix || e2e_fail "Wine made no prefix in $WINEPREFIX"

timeout --kill-after=10 120 wine "$probe" "$setup" "$package" "$skin" "$icon" | tr -d '\r' \
  >"$work/probe.txt" || { cat "$work/probe.txt"; e2e_fail "the resources did not read back"; }
cat "$work/probe.txt"

# --- it runs and installs ----------------------------------------------------------
x11_start_xvfb
install_dir="$WINEPREFIX/drive_c/Program Files/Demo Product"
product="$(dirname "$manifest")"

install_with() {  # setup, what
  rm -rf "$install_dir"
  xdotool mousemove --sync 0 0 2>/dev/null || true
  target_launch wine "$work/setup.log" "$1"
  local pid=$target_pid
  local win
  win="$(x11_wait_window "Kestrane Setup" 60)" || e2e_fail "$2: the wizard's window did not appear"
  # Welcome, License (I Agree), InstallFolder, FileTypes: each Return shows the
  # next; a screenshot of each is kept.
  e2e_wizard "$win"
  E2E_SHOTS="$work" e2e_walk_to Installing
  local deadline=$((SECONDS + 60))
  until [ -f "$install_dir/Uninstall.exe" ]; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "$2: the installation did not write its files"
    sleep 0.3
  done
  sleep 2
  x11_keys "$win" Escape  # Finish
  e2e_wait_exit "$pid" 30 || e2e_fail "$2: the setup did not end after Finish"
  [ "$E2E_STATUS" = 0 ] || e2e_fail "$2: the setup ended with $E2E_STATUS"
  cmp -s "$install_dir/DemoApp.exe" "$product/bin/DemoApp.exe" || e2e_fail "$2: DemoApp.exe differs"
  cmp -s "$install_dir/sample.demo" "$product/data/sample.demo" || e2e_fail "$2: sample.demo differs"
  echo "ok: $2 runs and installs under Wine"
}
install_with "$setup" "the setup"

# --- signed ------------------------------------------------------------------------
for tool in openssl osslsigncode; do
  if ! command -v "$tool" >/dev/null; then
    echo "kpack_setup_wine: skipped: $tool is not installed, so the signed setup is not tried"
    exit 0
  fi
done
mkdir -p "$work/signed"
(
  cd "$work/signed"
  printf 'throwaway' >password
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kestrane Test Signer" \
    -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>/dev/null
  openssl pkcs12 -export -inkey key.pem -in cert.pem -passout file:password -out cert.pfx
) || e2e_fail "openssl could not make the certificate"
signed="$work/signed/DemoProductSetup.exe"
"$kpack" setup "$manifest" --stub "$stub" -o "$signed" --sign "$work/signed/cert.pfx" \
  --password-file "$work/signed/password" || e2e_fail "kpack setup --sign failed"
osslsigncode verify -CAfile "$work/signed/cert.pem" -in "$signed" >"$work/signed/verify.txt" 2>&1 ||
  { cat "$work/signed/verify.txt"; e2e_fail "osslsigncode does not accept the signature"; }
echo "ok: osslsigncode accepts the signature"
install_with "$signed" "the signed setup"
