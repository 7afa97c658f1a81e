#!/usr/bin/env bash
# Installs the demo product under Wine through its wizard, removes it again with
# the command of its uninstall entry, and compares the machine before and after.
#
#   uninstall-e2e SETUP WORKDIR [demo|accented] [quiet]
#
# SETUP is DemoProductSetup.exe, or with "accented" the setup of accented.toml
# (the demo with accented names in every field), run in the locale LC_ALL gives
# (and in its language, when the tools ship it):
# its folder, files, links, uninstall entry, document types and settings must
# then bear exactly their names, whatever code page that locale gives Wine. The
# run uses a fresh 32-bit prefix under WORKDIR.
# Compared before the install and after the removal: the keys the package names
# (uninstall entry, ProgIDs, extensions, class, approved list, settings) and the
# files under Program Files, the Start-menu folders, the desktops and the system
# folder. Allowed to differ: a file the user added to the install folder (kept,
# with its folder), the system-folder copy (left in place) and the one deletion
# the temporary copy of the uninstaller leaves pending for the next start.
# With "quiet" the demo is then installed again and removed as a deployment tool
# removes it: the entry's QuietUninstallString, run and waited for. When that
# process ends its code is 0 and everything but the uninstaller's own file (which
# its copy deletes a moment later) is gone; nothing is asked or shown, and the
# log in the temporary folder says what stayed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=lib.sh
. "$here/lib.sh"

setup="$(realpath "$1")"
work="$(realpath -m "$2")"
variant="${3:-demo}"
mode="${4:-}"
rm -rf "$work"
mkdir -p "$work"
export E2E_DIAGNOSE="$work"

trap 'e2e_cleanup; wine_stop' EXIT

# The server is not kept running: the test waits for it to end, and its next
# start is the restart that carries out the pending deletion.
wine_env "$work/wine" "$work/home"
wine_prefix || e2e_fail "Wine made no prefix in $WINEPREFIX"
x11_start_xvfb

drive="$WINEPREFIX/drive_c"
classes='HKLM\Software\Classes'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The setup and the uninstaller speak the language of LC_ALL when they carry it.
window_name="$(e2e_text window-name "${LC_ALL:-C}")"
uninstall_word="$(e2e_text uninstall-caption "${LC_ALL:-C}")"
if [ "$variant" = accented ]; then
  product="Café Müller"
  window_name="Installer Café Müller"
  app="Visionneuse Café.exe"
  uninstaller="Désinstaller.exe"
  company="Société Générale Test"
  # Each file, link and value the names reach, as Wine shows them on disk (in the
  # locale's charset, UTF-8 here) and as kpack registry reads them.
  named_files=("Program Files/$product/$app" "Program Files/$product/Aide Müller.html"
    "Program Files/$product/Extension Café.dll" "Program Files/$product/$uninstaller"
    "ProgramData/Microsoft/Windows/Start Menu/Programs/$product/$product.lnk"
    "ProgramData/Microsoft/Windows/Start Menu/Programs/$product/Aide Müller.lnk"
    "users/Public/Desktop/$product à l'écran.lnk")
  settings="HKEY_LOCAL_MACHINE\\Software\\$company\\Réglages Müller\\Install"
  entry="HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
  hkcr='HKEY_LOCAL_MACHINE\Software\Classes'
  named_values=(
    "$entry	DisplayName	$product" "$entry	Publisher	$company"
    "$entry	Comments	Supprime $product" "$entry	URLInfoAbout	https://kestrane.example/société"
    "$entry	UninstallString	\"C:\\Program Files\\$product\\$uninstaller\""
    "$hkcr\\Société.Document		Document du Café" "$hkcr\\Société.Image		Image de Müller"
    "$hkcr\\.café		Société.Document" "$hkcr\\Applications\\$app		Visionneuse du Café"
    "$hkcr\\CLSID\\{6F1D2C84-3B5A-4E07-9C2D-8A41E0B7F356}		Extension du Café"
    "$settings	CurrentUser	0x0")
  keys=("$classes\\Société.Document" "$classes\\Société.Image" "$classes\\Applications\\$app")
  exts=(café dmo dpic)
  helper=""
else
  product="Demo Product"
  app="DemoApp.exe"
  uninstaller="Uninstall.exe"
  company="Kestrane Demo Company"
  named_files=()
  named_values=()
  keys=("$classes\\KestraneDemo.Document" "$classes\\KestraneDemo.Note"
    "$classes\\KestraneDemo.Picture" "$classes\\Applications\\$app")
  exts=(demo dmo dnote dpic txt log ini csv md nfo)
  helper=windows/system32/demohelper.dll
fi
install_dir="$drive/Program Files/$product"
keys=("$uninstall_key\\$product" "${keys[@]}"
  "$classes\\CLSID\\{6F1D2C84-3B5A-4E07-9C2D-8A41E0B7F356}"
  'HKLM\Software\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved'
  "HKLM\\software\\$company")
for ext in "${exts[@]}"; do keys+=("$classes\\.$ext"); done

# Each value line of the keys, after its key; then every file (with its checksum)
# and folder of the compared places.
user="${USER:-$(id -un)}"
places=("Program Files" "ProgramData/Microsoft/Windows/Start Menu" "users/Public/Desktop"
  "users/$user/Desktop" "users/$user/AppData/Roaming/Microsoft/Windows/Start Menu"
  windows/system32)
snapshot() {  # file
  local key line
  for key in "${keys[@]}"; do
    { timeout 60 wine reg query "$key" /s 2>/dev/null || echo "(absent)"; } | tr -d '\r' |
      while IFS= read -r line; do [ -z "$line" ] || printf '%s | %s\n' "$key" "$line"; done
  done >"$1"
  (cd "$drive" && find -L "${places[@]}" -type f -print0 2>/dev/null | xargs -0 -r md5sum) >>"$1"
  (cd "$drive" && find -L "${places[@]:0:5}" -type d 2>/dev/null) >>"$1"
  sort -o "$1" "$1"
}

# .txt and .ini belong to txtfile and inifile, which list themselves nowhere
# under "OpenWithProgids" (as in a fresh prefix; set so where Wine left one out):
# the demo takes both (its optional types stay checked) and must give them back.
default_of() {  # key
  timeout 60 wine reg query "$1" /ve 2>/dev/null | tr -d '\r' |
    awk '/REG_SZ/ { sub(/^.*REG_SZ[ \t]*/, ""); print }' || true
}
owners=()
if [ "$variant" != accented ]; then owners=(txt=txtfile ini=inifile); fi
for pair in "${owners[@]}"; do
  [ "$(default_of "$classes\\.${pair%%=*}")" = "${pair#*=}" ] ||
    timeout 60 wine reg add "$classes\\.${pair%%=*}" /ve /d "${pair#*=}" /f >/dev/null 2>&1 ||
    e2e_fail "cannot give .${pair%%=*} to ${pair#*=}"
done

snapshot "$work/before.txt"

# --- install through the wizard -------------------------------------------------
install_through_wizard() {
  target_launch wine "$work/setup.log" "$setup"
  setup_pid=$target_pid
  win="$(x11_wait_window "$window_name" 60)" || e2e_fail "the wizard's window did not appear"
  # Every offered extension stays checked; the accented product offers none.
  if [ "$variant" = accented ]; then e2e_wizard "$win" --no-file-types; else e2e_wizard "$win"; fi
  E2E_STEP=sleep e2e_walk_to Installing
  e2e_wait_file "$install_dir/$uninstaller" 60 || e2e_fail "the installation did not write its files"
  sleep 3
  [ "$(xdotool getwindowname "$win")" = "$window_name" ] ||
    e2e_fail "the wizard's window is named $(xdotool getwindowname "$win")"
  x11_keys "$win" Escape # Finished: Finish
  e2e_wait_exit "$setup_pid" 30 || e2e_fail "the setup did not end after Finish"
  # Finish starts the demo's viewer; it has no part in this test.
  sleep 2
  timeout 30 wine taskkill /f /im "$app" >/dev/null 2>&1 || true
  timeout 60 wineserver -w || e2e_fail "the viewer did not end"
}
install_through_wizard
echo "mine" >"$install_dir/my notes.txt"

# Every name as the package has it: on disk in the locale's charset, and in the
# registry as kpack registry reads Wine's UTF-16 export.
for f in "${named_files[@]}"; do
  [ -f "$drive/$f" ] || e2e_fail "not installed under its own name: $f ($(ls "$(dirname "$drive/$f")"))"
done
(cd "$work" && timeout 120 wine reg export 'HKLM\Software' installed.reg /y >/dev/null 2>&1) ||
  e2e_fail "could not export HKLM\Software"
if [ "${#named_values[@]}" -gt 0 ]; then
  missing="$(e2e_registry_values "$work/installed.reg" | python3 -c 'import sys
have = set()
for line in sys.stdin.read().split("\n"):
    key, _, rest = line.partition("\t")
    name, _, data = rest.partition("\t")
    have.add((key.casefold(), name.casefold(), data))
for want in sys.argv[1:]:
    key, name, data = want.split("\t")
    if (key.casefold(), name.casefold(), data) not in have:
        print(want)' "${named_values[@]}")"
  [ -z "$missing" ] || e2e_fail "the registry lacks, under their own names: $missing"
fi
# kpack wrote the package's knowledge into the uninstaller and kept its manifest.
grep -aq 'level="requireAdministrator"' "$install_dir/$uninstaller" ||
  e2e_fail "the installed uninstaller does not ask for administrator rights"

# --- the uninstall entry's command ---------------------------------------------
# From the export: Wine's reg query prints in the console's code page.
command="$(e2e_registry_values "$work/installed.reg" \
  "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product" |
  awk -F '\t' '$2 == "UninstallString" { print $3 }')"
[ "$command" = "\"C:\\Program Files\\$product\\$uninstaller\"" ] ||
  e2e_fail "unexpected UninstallString: $command"
program="${command#\"}"
program="${program%\"}"
target_launch wine "$work/uninstall.log" "$program"
uninstall_pid=$target_pid
box="$(x11_wait_window "$uninstall_word $product" 60)" || e2e_fail "no confirmation question"
# The box's caption as the window system has it, not read back through a code page.
[ "$(xdotool getwindowname "$box")" = "$uninstall_word $product" ] ||
  e2e_fail "the question is named $(xdotool getwindowname "$box")"
# Return answers the default, Yes: its letter is another in another language.
x11_keys "$box" Return
e2e_wait_exit "$uninstall_pid" 60 || e2e_fail "the uninstaller did not hand over to its copy"
# The copy in the temporary folder ends the work with the closing message.
box="$(x11_wait_window "$uninstall_word $product" 60)" || e2e_fail "no closing message"
import -window "$box" "$work/closing-message.png" 2>/dev/null || true
# The copy leaves one thing for the next start of the system: its own deletion.
copy="$(find "$drive" -iname 'Uninstall-*.exe' -print -quit)"
[ -n "$copy" ] || e2e_fail "no temporary copy of the uninstaller"
pending="$(timeout 60 wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
  /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' || true)"
echo "$pending" | grep -qi "$(basename "$copy")" ||
  e2e_fail "the temporary copy is not marked for deletion: $pending"
x11_keys "$box" Return
timeout 60 wineserver -w || e2e_fail "the temporary copy did not end"

# Wine starts the next session as Windows starts after a reboot, carrying out the
# pending deletion.
snapshot "$work/after.txt"
[ ! -e "$copy" ] || e2e_fail "the temporary copy is still there after a restart"
for pair in "${owners[@]}"; do
  [ "$(default_of "$classes\\.${pair%%=*}")" = "${pair#*=}" ] ||
    e2e_fail ".${pair%%=*} is not ${pair#*=}'s again"
done

[ -f "$install_dir/my notes.txt" ] || e2e_fail "the user's file is gone"
# Expected: before + the user's file with its folder + the system-folder copy.
{
  cat "$work/before.txt"
  (cd "$drive" && md5sum "Program Files/$product/my notes.txt" ${helper:+"$helper"})
  echo "Program Files/$product"
} | sort >"$work/expected.txt"
if ! diff "$work/expected.txt" "$work/after.txt" >"$work/difference.txt"; then
  cat "$work/difference.txt" >&2
  e2e_fail "the machine differs from before the install"
fi
echo "uninstall-e2e: the machine is as it was, but for the user's file and the system copy"

[ "$mode" = quiet ] || exit 0

# --- the quiet command, as a deployment tool runs it ----------------------------
rm -rf "$install_dir"
install_through_wizard
quiet="$(timeout 60 wine reg query "$uninstall_key\\$product" /v QuietUninstallString | tr -d '\r' |
  awk '/REG_SZ/ { sub(/^.*REG_SZ[ \t]*/, ""); print }' || true)"
[ "$quiet" = "\"C:\\Program Files\\$product\\$uninstaller\" /quiet" ] ||
  e2e_fail "unexpected QuietUninstallString: $quiet"
program="${quiet#\"}"
program="${program%%\" /quiet}"
# The files of the compared places the moment the process ends must be those from
# before the install, and the system-folder copy. The uninstaller's own file may
# be there still: its copy deletes it once the process has ended.
files_now() {
  (cd "$drive" && find -L "${places[@]}" -type f 2>/dev/null) |
    grep -vxF "Program Files/$product/$uninstaller" | sort
}
expected_files="$({ sed -n 's/^[0-9a-f]\{32\}  //p' "$work/before.txt"
  [ -z "$helper" ] || echo "$helper"; } | sort)"
status=0
timeout 300 wine "$program" /quiet >"$work/quiet-uninstall.log" 2>&1 || status=$?
now="$(files_now)"
[ "$status" = 0 ] || e2e_fail "the quiet uninstall ended with $status"
if [ "$now" != "$expected_files" ]; then
  diff <(echo "$expected_files") <(echo "$now") >&2 || true
  e2e_fail "files were still there when the quiet uninstall ended"
fi
! timeout 60 wine reg query "$uninstall_key\\$product" >/dev/null 2>&1 ||
  e2e_fail "the uninstall entry was still there when the quiet uninstall ended"
# The copy ends on its own: a box it showed would keep it running.
timeout 60 wineserver -w || e2e_fail "the quiet uninstaller's copy did not end"
[ ! -e "$install_dir" ] || e2e_fail "the install folder stayed: $(ls "$install_dir")"
log="$(find "$drive/users" -name "$product Uninstall.log" -print -quit)"
[ -n "$log" ] || e2e_fail "no $product Uninstall.log in the temporary folder"
grep -q "^result: removed, exit code 0"$'\r'"\$" "$log" || e2e_fail "the log ends otherwise: $(cat "$log")"
echo "uninstall-e2e: the quiet uninstall ended with 0 and everything gone"
