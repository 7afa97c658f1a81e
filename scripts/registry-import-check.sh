#!/usr/bin/env bash
# Holds the host registry file to a real consumer of the format: a package with
# every kind of item is installed with `kpack install` into a fresh prefix, its
# registry.reg is imported into a fresh 32-bit Wine prefix with `regedit /S`, and
# values are read back with `reg query`.
#
#   scripts/registry-import-check.sh KPACK WORKDIR
#
# WORKDIR is emptied first. Every wait is bounded, and the prefix's wineserver is
# stopped at the end. Without a working Wine the check cannot be made: it says
# why and exits with 77, which ctest reports as skipped (SKIP_RETURN_CODE).
set -euo pipefail

skip() {
  echo "registry_import: skipped: $*"
  exit 77
}
command -v wine >/dev/null 2>&1 || skip "wine is not installed (scripts/bootstrap installs it)"

kpack="$(realpath "$1")"
work="$(realpath -m "$2")"
rm -rf "$work"
mkdir -p "$work/files" "$work/home"

# shellcheck source=lib/wine.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/wine.sh"
wine_env "$work/wine" "$work/home"
unset DISPLAY
trap wine_stop EXIT

# An 8 x 8 JPEG for both pictures.
xxd -r -p >"$work/files/picture.jpg" <<'EOF'
ffd8ffe000104a46494600010100000100010000ffdb004300100b0c0e0c0a100e0d0e1211101318281a181616183123
251d283a333d3c3933383740485c4e404457453738506d51575f626768673e4d71797064785c656763ffdb0043011112
121815182f1a1a2f63423842636363636363636363636363636363636363636363636363636363636363636363636363
6363636363636363636363636363ffc00011080008000803012200021101031101ffc400150001010000000000000000
0000000000000005ffc40014100100000000000000000000000000000000ffc400150101010000000000000000000000
0000000405ffc40014110100000000000000000000000000000000ffda000c03010002110311003f009a02802fffd9
EOF
printf 'Licence\n' >"$work/files/LICENCE.txt"
for f in Demo.exe DemoShell.dll Uninstall.exe; do printf '%s' "$f" >"$work/files/$f"; done

# A comment with a line break is written as hex(1) over several lines; the
# publisher has a character outside ASCII; paths hold blanks and backslashes.
cat >"$work/files/manifest.toml" <<'EOF'
[product]
name = "Import Check"
company = "Kestrane Démo"
company-url = "https://example.com"
product-url = "https://example.com/import \"check\""
install-folder = "Import Check"
contact = "Customer Support"

[pictures]
side = "picture.jpg"
logo = "picture.jpg"

[licence]
file = "LICENCE.txt"

[[items]]
source = "Demo.exe"
flags = ["application"]
application-title = "Import Check"
dde = true
  [[items.file-types]]
  prog-id = "ImportCheck.Doc"
  description = "Import check document"
  icon-index = 2
  shell-ex-key = "{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}"
  handler-item = 1
  extensions = ["kic"]
  optional-extensions = ["kio"]

[[items]]
source = "DemoShell.dll"
flags = ["com-server"]
class-id = "{7C1E2D3F-4A5B-4C6D-8E9F-A0B1C2D3E4F5}"
server-name = "Import Check Extension"

[[items]]
source = "Uninstall.exe"
flags = ["uninstaller"]
icon-item = 0
uninstall-comment = "Removes Import Check\r\nand everything it installed"
EOF

"$kpack" build "$work/files/manifest.toml" -o "$work/package.bin"
"$kpack" install "$work/package.bin" --prefix "$work/prefix" >"$work/install.log"
cp "$work/prefix/registry.reg" "$work/import.reg"

wine_prefix "$work/wineboot.log" || true
if [ ! -s "$WINEPREFIX/system.reg" ]; then
  tail -n 5 "$work/wineboot.log"
  skip "wine could not make a 32-bit prefix (is wine32:i386 installed?); wineboot said the above"
fi
timeout --kill-after=10 120 wine regedit /S 'Z:'"${work//\//\\}"'\import.reg'
timeout --kill-after=10 60 wineserver --wait || true

failures=0
# expect KEY VALUE(-ve for the default value) TYPE DATA
expect() {
  local key="$1" name="$2" type="$3" data="$4" out
  if [ "$name" = "-ve" ]; then
    out="$(timeout --kill-after=10 60 wine reg query "$key" /ve 2>&1 | iconv -f CP850 -t UTF-8 | tr -d '\r' || true)"
    name="(Default)"
  else
    out="$(timeout --kill-after=10 60 wine reg query "$key" /v "$name" 2>&1 | iconv -f CP850 -t UTF-8 | tr -d '\r' || true)"
  fi
  local line="    $name    $type    $data"
  if ! grep -qxF -- "$line" <<<"$out"; then
    printf 'FAIL %s\n  expected: %s\n  got:\n%s\n' "$key" "$line" "$out"
    failures=$((failures + 1))
  fi
}

uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Import Check'
app='C:\Program Files\Import Check'
expect "$uninstall" DisplayName REG_SZ 'Import Check'
expect "$uninstall" UninstallString REG_SZ "\"$app\\Uninstall.exe\""
expect "$uninstall" Publisher REG_SZ 'Kestrane Démo'
expect "$uninstall" HelpLink REG_SZ 'https://example.com/import "check"'
expect "$uninstall" Contact REG_SZ 'Customer Support'
expect "$uninstall" QuietUninstallString REG_SZ "\"$app\\Uninstall.exe\" /quiet"
expect "$uninstall" NoModify REG_DWORD 0x1
expect "$uninstall" Language REG_DWORD 0x0
expect 'HKCR\ImportCheck.Doc\shell\open\command' -ve REG_SZ "\"$app\\Demo.exe\" \"%1\""
expect 'HKCR\ImportCheck.Doc\DefaultIcon' -ve REG_SZ "$app\\Demo.exe,2"
expect 'HKCR\ImportCheck.Doc\shell\edit\ddeexec' -ve REG_SZ '[edit("%1")]'
expect 'HKCR\.kic' -ve REG_SZ 'ImportCheck.Doc'
expect 'HKCR\.kio' -ve REG_SZ 'ImportCheck.Doc'
expect 'HKCR\.kic\OpenWithProgids' ImportCheck.Doc REG_NONE ''
expect 'HKCR\CLSID\{7C1E2D3F-4A5B-4C6D-8E9F-A0B1C2D3E4F5}\InProcServer32' -ve REG_SZ \
  "\"$app\\DemoShell.dll\""
expect 'HKCR\CLSID\{7C1E2D3F-4A5B-4C6D-8E9F-A0B1C2D3E4F5}\InProcServer32' ThreadingModel REG_SZ \
  Apartment
expect 'HKLM\Software\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved' \
  '{7C1E2D3F-4A5B-4C6D-8E9F-A0B1C2D3E4F5}' REG_SZ 'Import Check Extension'
expect 'HKLM\Software\Kestrane Démo\Import Check\Install' AppFile REG_SZ "$app\\Demo.exe"
expect 'HKLM\Software\Kestrane Démo\Import Check\Install' TopMenuEntry REG_DWORD 0x1

# The comment came through the wrapped hex(1) form whole, line break included.
comment="$(timeout --kill-after=10 60 wine reg query "$uninstall" /v Comments 2>&1 | tr -d '\r')"
if ! grep -qF 'Removes Import Check' <<<"$comment" || ! grep -qxF 'and everything it installed' <<<"$comment"; then
  printf 'FAIL Comments\n%s\n' "$comment"
  failures=$((failures + 1))
fi
grep -q '^"Comments"=hex(1):.*\\$' <(iconv -f UTF-16LE -t UTF-8 "$work/import.reg" | tr -d '\r') || {
  printf 'FAIL the comment was not written as wrapped hex(1)\n'
  failures=$((failures + 1))
}

if [ "$failures" -ne 0 ]; then
  printf '%d value(s) did not come through regedit\n' "$failures"
  exit 1
fi
echo "registry.reg imported by regedit: every value read back"
