#!/usr/bin/env bash
# Drives the demo product's setup through its wizard on a private X server with
# xdotool, as a user would, and checks what it installed.
#
#   wizard-e2e host|wine PRODUCT SETUP PLAIN_SETUP DAMAGED_SETUP WORKDIR
#
# host: SETUP is the host `setup` program, run in a fresh prefix under WORKDIR.
# wine: SETUP is the Windows program, run under Wine in a fresh 32-bit prefix
#       under WORKDIR (made once, about half a minute).
# PRODUCT is the folder the demo's package was built from. PLAIN_SETUP carries
# the demo without optional extensions; DAMAGED_SETUP a package whose first four
# bytes are wrong.
#
# Scenarios: the whole road Welcome -> License -> InstallFolder -> FileTypes ->
# Installing -> Finished -> Finish, with one file type unchecked, then every
# file, key and link the demo asks for and its viewer started by Finish; Escape
# and "No" on the cancel question; a remote parent folder hiding Next; a package
# without optional extensions skipping FileTypes; a damaged package showing the
# fatal box and exiting with -1; the plain variant's texts in its vendor's words;
# /quiet into a folder with spaces, with no window and a log naming every file;
# /passive, showing its window and closing it; a bad switch refused with 1639.
# A screenshot of every page is kept in
# WORKDIR/screens. Under Wine, WORKDIR/install keeps what the installation
# changed on the machine, for compare-install.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=lib.sh
. "$here/lib.sh"

target="$1"
product="$(realpath "$2")"
setup="$(realpath "$3")"
plain="$(realpath "$4")"
damaged="$(realpath "$5")"
work="$(realpath -m "$6")"
rm -rf "$work"
mkdir -p "$work/screens"
screens="$work/screens"
export E2E_DIAGNOSE="$work"

trap 'e2e_cleanup; wine_stop' EXIT

x11_start_xvfb
title="Kestrane Setup"
# Where the demo goes, as Windows paths.
dir='C:\Program Files\Demo Product'
app="$dir\\DemoApp.exe"
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Demo Product'
desktop='C:\Users\Public\Desktop'
system='C:\Windows\System32'

# A key as registry_values prints it: the root in full, all in lower case.
full_key() {
  local key="${1/#HKLM\\/HKEY_LOCAL_MACHINE\\}"
  echo "${key,,}"
}

# Every run starts with the pointer off the window, so both targets begin with
# the same hover look.
park_mouse() { x11_pointer_to 0 0; }

# Each target defines:
#   unix_paths WINPATH...           the files Windows paths name, one a line
#   short_path WINPATH              its 8.3 form, where the machine has one
#   registry_values KEY...          "key<TAB>name<TAB>data" of each value of the
#                                   keys; keys in full and in lower case, the
#                                   default value's name empty, a DWORD as 0x...
#   ran_after_finish                Finish started the viewer (and it is stopped)
#   answer_yes / answer_no BOX      answers a question
#   prepare_remote_drive, choose_remote_folder WINDOW
if [ "$target" = host ]; then
  export KESTRANE_PREFIX="$work/prefix"
  export SDL_VIDEODRIVER=x11
  mkdir -p "$KESTRANE_PREFIX"

  unix_paths() {
    local p
    for p; do
      p="${p#C:\\}"
      echo "$KESTRANE_PREFIX/drive_c/${p//\\//}"
    done
  }
  # Short (8.3) names do not exist on the host.
  short_path() { echo "$1"; }
  # The prefix's registry.reg, as kpack registry reads it.
  registry_values() {
    local key
    for key; do
      e2e_registry_values "$KESTRANE_PREFIX/registry.reg" "$key" |
        KEY="$(full_key "$key")" awk -F '\t' -v OFS='\t' 'tolower($1) == ENVIRON["KEY"] { $1 = ENVIRON["KEY"]; print }'
    done
  }
  ran_after_finish() { grep -q 'DemoApp.exe' "$KESTRANE_PREFIX/shell.log" 2>/dev/null; }
  # The host's message boxes take Return for Yes and Escape for No.
  answer_yes() { x11_keys "$1" Return; }
  answer_no() { x11_keys "$1" Escape; }
  # Drive R: reports itself as a network drive; the folder browser's answer is
  # preset.
  prepare_remote_drive() {
    mkdir -p "$KESTRANE_PREFIX/drive_r/Apps"
    touch "$KESTRANE_PREFIX/drive_r.remote"
    printf 'R:\\Apps' >"$KESTRANE_PREFIX/browse.answer"
  }
  choose_remote_folder() { click_link_change "$1"; }
else
  e2e_wine_prefix "$work/wine" "$work/home"

  unix_paths() { timeout 60 winepath -u "$@" 2>/dev/null; }
  short_path() { timeout 60 winepath -s "$1" 2>/dev/null | tr -d '\r'; }
  # Windows' own reg asked for each key in one batch, its answer read back.
  registry_values() {
    local key
    for key in "$@"; do printf '@reg query "%s"\r\n' "$key"; done >"$work/query.cmd"
    (cd "$work" && timeout 120 wine cmd /c query.cmd 2>/dev/null) | tr -d '\r' | awk '
      /^HKEY_/ { key = tolower($0); next }
      /^    / && match($0, /    REG_[A-Z_]+(    |$)/) {
        name = substr($0, 5, RSTART - 5)
        if (name == "(Default)") name = ""
        data = substr($0, RSTART + RLENGTH)
        printf "%s\t%s\t%s\n", key, name, data
      }'
  }
  # The viewer's window appears; it is stopped by its process id.
  ran_after_finish() {
    local viewer pid
    viewer="$(x11_wait_window "Demo Product" 30)" || return 1
    x11_shot "$viewer" "$work/viewer.png"
    pid="$(xdotool getwindowpid "$viewer")" || return 1
    kill "$pid" && x11_wait_window_gone "Demo Product" 20
  }
  # Windows' Yes/No boxes take the buttons' mnemonics (Escape does nothing there).
  answer_yes() { x11_keys "$1" y; }
  answer_no() { x11_keys "$1" n; }
  # Drive R: is declared a network drive over a folder of this machine; Wine
  # reads its drives when its server starts.
  prepare_remote_drive() {
    mkdir -p "$work/remote/Apps"
    ln -sfn "$work/remote" "$WINEPREFIX/dosdevices/r:"
    timeout 60 wine reg add 'HKLM\Software\Wine\Drives' /v r: /d network /f >/dev/null 2>&1
    wine_stop
    wine_keep_server || e2e_fail "the Wine server did not start"
  }
  # The folder browser of a fresh prefix lists Desktop, /, Documents and My
  # Computer, whose drives are C:, R: and Z:; the edit box is not read back.
  choose_remote_folder() {  # window
    click_link_change "$1"
    local browser
    browser="$(x11_wait_window "Browse for Folder" 30)" || e2e_fail "no folder browser"
    sleep 0.5
    x11_keys "$browser" Down Down Down Right Down Down Return
    x11_wait_window_gone "Browse for Folder" 20 || e2e_fail "the folder browser stayed"
  }
fi

start_setup() {  # program [arguments...]
  park_mouse
  target_launch "$target" "$work/setup.log" "$@"
  setup_pid=$target_pid
}

# Runs a setup without questions to its end: its whole exit code (a Unix caller
# of wine sees only the low 8 bits, so Windows' own cmd reads it there), and
# whether a window showed while it ran.
run_without_questions() {  # program arguments...
  local program="$1" shown="" deadline
  shift
  if [ "$target" = host ]; then
    start_setup "$program" "$@"
  else
    {
      printf '@start "" /wait "%s"' "$(timeout 60 winepath -w "$program" | tr -d '\r')"
      printf ' "%s"' "$@"
      printf '\r\n@echo exit %%ERRORLEVEL%%\r\n'
    } >"$work/quiet.cmd"
    park_mouse
    (cd "$work" && exec timeout 300 wine cmd /c quiet.cmd >"$work/quiet.out" 2>>"$work/setup.log") &
    setup_pid=$!
    e2e_pids+=("$setup_pid")
  fi
  deadline=$((SECONDS + 120))
  while kill -0 "$setup_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    [ -n "$shown" ] || shown="$(xdotool search --onlyvisible --name '.' 2>/dev/null | head -n 1 || true)"
  done
  e2e_wait_exit "$setup_pid" 10 || e2e_fail "the setup without questions did not end"
  QUIET_SHOWN="$shown"
  QUIET_STATUS="$E2E_STATUS"
  if [ "$target" = wine ]; then
    QUIET_STATUS="$(tr -d '\r' <"$work/quiet.out" | sed -n 's/^exit //p')"
  fi
}

# The two links of the InstallFolder page sit centred in the text column, the
# first at y 236 of the page; the page starts below the caption bar.
click_link_change() {
  x11_geometry "$1"
  x11_click "$1" $((WW / 2 + 80)) $((24 + 236 + 10))
}

shoot_page() {  # window name
  x11_shot "$1" "$screens/$2.png"
}

expect_page_change() {  # window before-picture what
  x11_wait_change "$1" "$2" 20 || e2e_fail "$3: the page did not change"
}

# --- 1. the whole road ----------------------------------------------------------
[ "$target" = host ] || e2e_wine_snapshot "$work/install/before"
start_setup "$setup"
win="$(x11_wait_window "$title" 60)" || e2e_fail "the wizard's window did not appear"
shoot_page "$win" 0-welcome

x11_click_forward "$win"                     # Next, with the mouse
expect_page_change "$win" "$screens/0-welcome.png" "Next on Welcome"
shoot_page "$win" 1-license

x11_keys "$win" Return                       # I Agree, from the keyboard
expect_page_change "$win" "$screens/1-license.png" "Enter on License"
shoot_page "$win" 2-installfolder

# Escape asks; "No" leaves the page as it was.
x11_keys "$win" Escape
question="$(x11_wait_window "Cancel Setup?" 20)" || e2e_fail "Escape asked nothing"
answer_no "$question"
x11_wait_window_gone "Cancel Setup?" 20 || e2e_fail "the cancel question stayed"
x11_shot "$win" "$work/after-no.png"
x11_same "$work/after-no.png" "$screens/2-installfolder.png" ||
  e2e_fail "answering No changed the page"

x11_click_forward "$win"
expect_page_change "$win" "$screens/2-installfolder.png" "Next on InstallFolder"
shoot_page "$win" 3-filetypes

# Clear the first offered type (csv, the first in sorted order), then go on.
# The choice is kept as kpack's arguments, for compare-install to make it too.
x11_click "$win" $((4 + 174 + 12)) $((24 + 130 + 12))
choice="--uncheck 0"
x11_wait_change "$win" "$screens/3-filetypes.png" 10 || e2e_fail "the check box did not change"
x11_click_forward "$win"
# The desktop link is among the last things written, the settings follow at once;
# then the page settles on Finished. Escape below proves it is Finished: on
# Installing it is ignored, and the setup would not end.
desktop_link="$(unix_paths "$desktop\\Demo Product.lnk")"
e2e_wait_file "$desktop_link" 60 || e2e_fail "the installation did not write its links"
x11_wait_stable "$win" 30 || e2e_fail "the page did not settle after the installation"
shoot_page "$win" 5-finished
x11_keys "$win" Escape                       # on Finished: no question, Finish
e2e_wait_exit "$setup_pid" 30 || e2e_fail "the setup did not end after Finish"
[ "$E2E_STATUS" = 0 ] || e2e_fail "the setup ended with $E2E_STATUS after Finish"
ran_after_finish || e2e_fail "Finish did not start the viewer"
if [ "$target" = wine ]; then
  e2e_wine_snapshot "$work/install/after"
  e2e_wine_keep_changes "$work/install"
  echo "$choice" >"$work/install/choices"
fi

# Every file with its bytes, and the helper's copy in the system folder. The
# uninstaller is not the built file: kpack gave it the package's list of items
# as a resource of its own, so it is only looked for here (compare-install
# holds it to the bytes kpack install writes).
sources=(bin/DemoApp.exe DemoHelp.html data/sample.demo bin/DemoShell.dll bin/demohelper.dll)
copies=()
for f in "${sources[@]}"; do copies+=("$dir\\${f##*/}"); done
sources+=(bin/demohelper.dll)
copies+=("$system\\demohelper.dll" "$dir\\Uninstall.exe")
mapfile -t files < <(unix_paths "${copies[@]}")
for i in "${!sources[@]}"; do
  cmp -s "${files[$i]:-}" "$product/${sources[$i]}" || e2e_fail "${copies[$i]} is not ${sources[$i]}"
done
[ -s "${files[${#sources[@]}]:-}" ] || e2e_fail "$dir\\Uninstall.exe was not installed"

# The links lead to the installed files, as an independent reader of links sees
# them.
links=("$menu\\Demo Product.lnk" "$menu\\Demo Help.lnk" "$desktop\\Demo Product.lnk")
targets=("$app" "$dir\\DemoHelp.html" "$app")
mapfile -t files < <(unix_paths "${links[@]}")
named=()
for i in "${!links[@]}"; do
  named+=("$(lnkinfo "${files[$i]}" 2>/dev/null | sed -n 's/^[[:space:]]*Local path[[:space:]]*: //p' || true)")
  [ -n "${named[$i]}" ] || e2e_fail "the link ${links[$i]} names no file"
done
mapfile -t files < <(unix_paths "${named[@]}" "${targets[@]}")
for i in "${!links[@]}"; do
  [ "${files[$i]}" -ef "${files[$((i + ${#links[@]}))]}" ] ||
    e2e_fail "the link ${links[$i]} does not lead to ${targets[$i]} (it names '${named[$i]}')"
done

# The keys: the uninstall entry, the viewer's own entry, the three document
# types with their icons inside the viewer and the picture's shell extension,
# the fixed extensions, of the optional ones a checked and the unchecked one,
# the COM server and its approval, and the settings. Paths the shell runs or
# shows an icon from are in 8.3 form where the machine has it; the command then
# needs no quotes.
short_app="$(short_path "$app")"
if [ "$short_app" = "$app" ]; then command="\"$app\" \"%1\""; else command="$short_app \"%1\""; fi
server='{6F1D2C84-3B5A-4E07-9C2D-8A41E0B7F356}'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Demo Product'
classes='HKLM\Software\Classes'
settings='HKLM\Software\Kestrane Demo Company\Demo Product\Install'
expected="$(cat <<EOF
$uninstall|DisplayName|Demo Product
$uninstall|UninstallString|"$dir\\Uninstall.exe"
$uninstall|DisplayIcon|"$app"
$uninstall|Publisher|Kestrane Demo Company
$uninstall|NoModify|0x1
$classes\\Applications\\DemoApp.exe||Demo Product Viewer
$classes\\KestraneDemo.Document||Demo Document
$classes\\KestraneDemo.Document\\DefaultIcon||$short_app,1
$classes\\KestraneDemo.Note\\DefaultIcon||$short_app,2
$classes\\KestraneDemo.Picture\\DefaultIcon||$short_app,3
$classes\\KestraneDemo.Picture\\shell\\open\\command||$command
$classes\\KestraneDemo.Picture\\shellex\\{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}||$server
$classes\\.demo||KestraneDemo.Document
$classes\\.dmo||KestraneDemo.Document
$classes\\.dnote||KestraneDemo.Note
$classes\\.dpic||KestraneDemo.Picture
$classes\\.txt||KestraneDemo.Note
$classes\\.csv\\OpenWithProgids|KestraneDemo.Note|
$classes\\CLSID\\$server||Demo Picture Shell Extension
$classes\\CLSID\\$server\\InProcServer32||"$dir\\DemoShell.dll"
$classes\\CLSID\\$server\\InProcServer32|ThreadingModel|Apartment
HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved|$server|Demo Picture Shell Extension
$settings|StartMenuEntry|0x1
$settings|ParentFolder|C:\\Program Files
$settings|AppFile|$short_app
EOF
)"
mapfile -t keys < <(cut -d'|' -f1 <<<"$expected" | sort -u)
keys+=("$classes\\.csv")
registry_values "${keys[@]}" >"$work/registry-values.txt"
while IFS='|' read -r key name data; do
  grep -qxF "$(full_key "$key")	$name	$data" "$work/registry-values.txt" ||
    e2e_fail "[$key] ${name:-@} is not '$data' (see registry-values.txt)"
done <<<"$expected"
! grep -qF "$(full_key "$classes\\.csv")		KestraneDemo" "$work/registry-values.txt" ||
  e2e_fail ".csv was taken though it was unchecked"
echo "ok: the whole road"

# The viewer answers no DDE, so its document types carry none, and the shell
# reports opening a document as done rather than failed.
if [ "$target" = wine ]; then
  timeout 60 wine start "$dir\\sample.demo" >"$work/start.log" 2>&1 ||
    e2e_fail "opening sample.demo was reported as failed: $(tr -d '\r' <"$work/start.log")"
  echo "ok: a document opens without DDE"
fi

# --- 2. a remote parent folder hides Next ---------------------------------------
prepare_remote_drive
start_setup "$setup"
win="$(x11_wait_window "$title" 60)" || e2e_fail "the wizard's window did not appear"
e2e_wizard "$win"
E2E_STEP=none e2e_walk_to InstallFolder
sleep 1
x11_shot "$win" "$work/before-browse.png"
choose_remote_folder "$win"
x11_wait_change "$win" "$work/before-browse.png" 20 || e2e_fail "the chosen folder changed nothing"
x11_wait_stable "$win" 20 || e2e_fail "the page did not settle"
shoot_page "$win" 2-installfolder-remote
# Without Next, Back is the rightmost button: a press there shows License again,
# just as it looked the first time.
x11_click_forward "$win"
x11_wait_change "$win" "$screens/2-installfolder-remote.png" 20 || e2e_fail "nothing happened"
x11_same "$X11_LAST" "$screens/1-license.png" ||
  e2e_fail "with a remote folder the rightmost button was not Back"
x11_keys "$win" Escape
question="$(x11_wait_window "Cancel Setup?" 20)" || e2e_fail "Escape asked nothing"
answer_yes "$question"
e2e_wait_exit "$setup_pid" 30 || e2e_fail "the setup did not end after Yes"
[ "$E2E_STATUS" = 0 ] || e2e_fail "the setup ended with $E2E_STATUS after a cancel"
echo "ok: a remote folder hides Next"

# --- 3. no optional extensions: InstallFolder leads to Installing -----------------
# The plain variant also speaks in its vendor's words: its window's name, the
# title painted in the caption bar, the page header and the Welcome text, with
# the accents of its name drawn.
plain_title="Café Müller Setup"
start_setup "$plain"
win="$(x11_wait_window "$plain_title" 60)" || e2e_fail "the plain wizard's window did not appear"
[ "$(xdotool getwindowname "$win")" = "$plain_title" ] ||
  e2e_fail "the plain wizard's window is named \"$(xdotool getwindowname "$win")\""
sleep 1
shoot_page "$win" plain-0-welcome
# The caption bar (the painted title) and the header band differ from ours.
for band in 508x24+0+0 330x50+170+24; do
  convert "$screens/0-welcome.png" -crop "$band" +repage "$work/ours.png"
  convert "$screens/plain-0-welcome.png" -crop "$band" +repage "$work/theirs.png"
  ! x11_same "$work/ours.png" "$work/theirs.png" ||
    e2e_fail "the plain wizard shows our words in $band"
done
e2e_wizard "$win" --no-file-types
E2E_STEP=none e2e_walk_to InstallFolder
sleep 1
shoot_page "$win" plain-2-installfolder
E2E_STEP=none e2e_walk_to Installing
sleep 3
shoot_page "$win" plain-5-finished
x11_keys "$win" Return                       # Enter on Finished finishes
e2e_wait_exit "$setup_pid" 30 || e2e_fail "the plain setup did not end"
[ "$E2E_STATUS" = 0 ] || e2e_fail "the plain setup ended with $E2E_STATUS"
echo "ok: no file types page without optional extensions"

# --- 4. a damaged package --------------------------------------------------------
start_setup "$damaged"
fatal="$(x11_wait_window "Kestrane Setup - Fatal error" 60)" || e2e_fail "no fatal box"
x11_shot "$fatal" "$screens/fatal.png"
x11_keys "$fatal" Return
e2e_wait_exit "$setup_pid" 30 || e2e_fail "the damaged setup did not end"
[ "$E2E_STATUS" = 255 ] || e2e_fail "the damaged setup ended with $E2E_STATUS, not -1"
echo "ok: a damaged package ends with the fatal box and -1"

# --- 5. without questions --------------------------------------------------------
# Into a folder with spaces, given whole: no window at any moment, exit 0, every
# file there, and a log that names each of them.
quiet_dir='C:\Quiet Place\Demo Product'
run_without_questions "$setup" /quiet "/dir=$quiet_dir" '/log=C:\quiet.log'
[ -z "$QUIET_SHOWN" ] || e2e_fail "the quiet setup showed a window"
[ "$QUIET_STATUS" = 0 ] || e2e_fail "the quiet setup ended with $QUIET_STATUS"
quiet_log="$(unix_paths 'C:\quiet.log')"
for f in "${sources[@]}"; do
  name="${f##*/}"
  cmp -s "$(unix_paths "$quiet_dir\\$name")" "$product/$f" || e2e_fail "/quiet did not write $name"
  grep -qF "file: $quiet_dir\\$name" "$quiet_log" || e2e_fail "the log does not name $name"
done
grep -q '^result: installed' "$quiet_log" || e2e_fail "the log does not say the result"

# /passive: the window shows the installation only, and closes itself.
run_without_questions "$setup" /passive '/dir=C:\Passive\Demo Product'
[ -n "$QUIET_SHOWN" ] || e2e_fail "the passive setup showed no window"
[ "$QUIET_STATUS" = 0 ] || e2e_fail "the passive setup ended with $QUIET_STATUS"
cmp -s "$(unix_paths 'C:\Passive\Demo Product\DemoApp.exe')" "$product/bin/DemoApp.exe" ||
  e2e_fail "/passive did not install"

# A switch the setup does not know: refused before anything, silently.
run_without_questions "$setup" /quiet /frobnicate
[ -z "$QUIET_SHOWN" ] || e2e_fail "a bad switch under /quiet showed a window"
expected_bad=1639
[ "$target" = wine ] || expected_bad=$((1639 % 256))
[ "$QUIET_STATUS" = "$expected_bad" ] || e2e_fail "a bad switch ended with $QUIET_STATUS, not 1639"
echo "ok: /quiet installs without a window, and refuses a bad switch"
