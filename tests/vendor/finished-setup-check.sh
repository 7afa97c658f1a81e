#!/usr/bin/env bash
# A setup made by `kpack setup` from the Windows build's stub, checked as a user
# and a vendor would: its resources read back through the Windows resource calls
# under Wine and by `kpack check` and `kskin check`; then it runs under Wine on a
# private X server and installs the demo product. The same again signed with a
# throwaway certificate, after osslsigncode has accepted the signature.
#
#   finished-setup-check KPACK KSKIN STUB PROBE MANIFEST PACKAGE SKIN ICON WORKDIR
#   finished-setup-check --large KPACK STUB MANIFEST WORKDIR
#
# PACKAGE is the demo's package as kpack build made it, SKIN and ICON what the
# stub was built with. Exits with 77 (skipped, saying why) when Wine, Xvfb or
# xdotool is missing.
#
# --large: a product of one file of 1.5 GiB of zeros (a sparse file, a few MiB
# packed), with the demo's pictures and licence (MANIFEST is the demo's), made a
# setup and installed under Wine through the wizard; the installed file must be
# whole. It needs about 5 GB free in WORKDIR (skipped with 77 when there is
# less) and about a minute; the big files are deleted at the end, the Wine prefix
# is kept for the next run. The pass's time and the setup's peak memory (VmHWM)
# before and after the pass are printed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ "$1" = --large ]; then
  name=kpack_setup_large_wine
  kpack="$2" stub="$3" manifest="$4"
  work="$(realpath -m "$5")"
else
  name=kpack_setup_wine
  kpack="$1" kskin="$2" stub="$3" probe="$4" manifest="$5" package="$6" skin="$7" icon="$8"
  work="$(realpath -m "$9")"
fi

for tool in wine wineboot wineserver Xvfb xdotool import compare; do
  if ! command -v "$tool" >/dev/null; then
    echo "$name: skipped: $tool is not installed"
    exit 77
  fi
done

# shellcheck source=../e2e/lib.sh
. "$here/../e2e/lib.sh"

# The most memory process $1 has held so far, in KiB (VmHWM).
peak_kib() {
  awk '$1 == "VmHWM:" { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0
}

# --- one file of 1.5 GiB (--large) ----------------------------------------------
# The pass inflates each file in steps straight into the staging folder: a file
# larger than the 32-bit setup could ever hold in memory installs.
install_large() {
  local size=$((1536 * 1024 * 1024)) free
  mkdir -p "$work"
  free="$(df -Pk "$work" | awk 'NR == 2 { print $4 }')"
  if [ "$free" -lt $((5 * 1024 * 1024)) ]; then
    echo "$name: skipped: $((free / 1024)) MiB free in $work, about 5 GB needed"
    exit 77
  fi
  local product="$work/product"
  wine_env "$work/wine" "$work/home"
  local install_dir="$WINEPREFIX/drive_c/Program Files/Kestrane Large Product"
  # Whatever ends the run, the big files go.
  big_files=("$product" "$install_dir" "$install_dir.ks-new" "$install_dir.ks-old")
  trap 'e2e_cleanup; wine_stop; rm -rf "${big_files[@]}"' EXIT
  rm -rf "${big_files[@]}" "$work/screens" "$work"/*.log
  mkdir -p "$product" "$work/screens"
  export E2E_DIAGNOSE="$work"

  local demo
  demo="$(dirname "$(realpath "$manifest")")"
  truncate -s "$size" "$product/zeros.bin"
  printf '@exit /b 0\r\n' >"$product/Uninstall.cmd"
  cat >"$product/large.toml" <<MANIFEST
[product]
name = "Kestrane Large Product"
company = "Kestrane Large Company"
company-url = "https://kestrane.example"
product-url = "https://kestrane.example/large-product"
settings-key = "Large Product"
install-folder = "Kestrane Large Product"

[pictures]
side = "$demo/art/side.jpg"
logo = "$demo/art/logo.jpg"

[licence]
file = "$demo/LICENCE.txt"

[[items]]
source = "zeros.bin"

[[items]]
source = "Uninstall.cmd"
flags = ["uninstaller"]
icon-item = 0
uninstall-comment = "Removes the Kestrane Large Product"
MANIFEST
  local setup="$product/KestraneLargeSetup.exe" begin=$SECONDS
  "$kpack" setup "$product/large.toml" --stub "$stub" -o "$setup" || e2e_fail "kpack setup failed"
  echo "kpack setup took $((SECONDS - begin)) s for $(stat -c %s "$setup") bytes"

  wine_prefix "$work/wineboot.log" || e2e_fail "Wine made no prefix in $WINEPREFIX"
  wine_keep_server || e2e_fail "the Wine server did not start"
  x11_start_xvfb
  xdotool mousemove --sync 0 0 2>/dev/null || true
  target_launch wine "$work/setup.log" "$setup"
  local pid=$target_pid win
  win="$(x11_wait_window "Kestrane Setup" 60)" || e2e_fail "the wizard's window did not appear"
  e2e_wizard "$win" --no-file-types
  E2E_SHOTS="$work/screens" e2e_walk_to InstallFolder
  local before after
  before="$(peak_kib "$pid")"
  begin=$SECONDS
  E2E_STEP=none e2e_walk_to Installing
  # The file shows in the install folder when the staging folder takes its
  # place; the uninstall entry follows, then Finished.
  local deadline=$((SECONDS + 600))
  until [ -f "$install_dir/Uninstall.cmd" ] &&
    e2e_registry_has 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' "Kestrane Large Company"; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "the installation did not end in 10 minutes"
    kill -0 "$pid" 2>/dev/null || e2e_fail "the setup ended during the installation"
    [ -z "$(x11_find_windows "Setup Error!")" ] || e2e_fail "the installation failed"
    sleep 1
  done
  local took=$((SECONDS - begin))
  x11_wait_stable "$win" 30 || e2e_fail "Finished did not settle"
  x11_shot "$win" "$work/screens/5-finished.png"
  after="$(peak_kib "$pid")"
  x11_keys "$win" Escape  # Finish
  e2e_wait_exit "$pid" 30 || e2e_fail "the setup did not end after Finish"
  [ "$E2E_STATUS" = 0 ] || e2e_fail "the setup ended with $E2E_STATUS"

  local file="$install_dir/zeros.bin"
  [ "$(stat -c %s "$file")" = "$size" ] || e2e_fail "zeros.bin has $(stat -c %s "$file") bytes, not $size"
  cmp -n "$size" "$file" /dev/zero || e2e_fail "zeros.bin is not all zeros"
  [ ! -e "$install_dir.ks-new" ] && [ ! -e "$install_dir.ks-old" ] ||
    e2e_fail "the installation left a folder beside the install folder"
  echo "ok: one file of 1.5 GiB installs under Wine (the pass took about $took s;" \
    "the setup's peak memory $((before / 1024)) MiB before it, $((after / 1024)) MiB after;" \
    "the setup is $(($(stat -c %s "$setup") / 1024)) KiB)"
}

if [ "$name" = kpack_setup_large_wine ]; then
  install_large
  exit 0
fi

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
