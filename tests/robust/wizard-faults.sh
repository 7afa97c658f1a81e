#!/usr/bin/env bash
# Drives built setups through what a real machine does to them while the
# wizard runs, on a private X server, and checks what they leave behind.
#
#   wizard-faults host  ROBUST SLOW DEMO WORKDIR X11_CLOSE
#   wizard-faults wine  ROBUST SLOW DEMO WORKDIR HOLD_FILE CLOSE_WINDOW WINDOW_TEXT
#
# ROBUST installs the robust test product, SLOW a product whose files take a
# while to write, DEMO is the demo product's setup. host: the setups are host
# `setup` programs run in a fresh prefix under WORKDIR; wine: Windows programs
# run under Wine in a 32-bit prefix under WORKDIR (made once, about a minute).
#
# Scenarios:
# 1. An installation runs to Finished; Finish starts the product's program in
#    its folder (an elevated setup asks the desktop shell to start it as the
#    user; Wine's desktop shell cannot be asked, so the setup starts it itself).
# 2. The demo installed, a file and a folder of the user's added beside it, and
#    one of its files held open by another program without sharing: the upgrade
#    shows "Overwrite existing folder" and changes nothing, the wizard returns to
#    the file types page as it was, and once the file is let go the next attempt
#    installs everything and keeps the user's file and folder.
# 3. The window closed by the system while files are written: the setup stops
#    the pass, waits for it and ends with 0; every file it left is whole, and
#    the product is not registered as installed.
# 4. A second copy of a setup that runs already brings the first to the front
#    and ends with 0 without showing a window, while another product's setup may
#    run beside it; two copies started at the same moment show one window.
# Screenshots are kept in WORKDIR/screens.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../e2e/lib.sh
. "$here/../e2e/lib.sh"

target="$1"
robust="$(realpath "$2")"
slow="$(realpath "$3")"
demo="$(realpath "$4")"
work="$(realpath -m "$5")"
shift 5
mkdir -p "$work"
rm -rf "$work/screens" "$work/prefix"
mkdir -p "$work/screens"
screens="$work/screens"
export E2E_DIAGNOSE="$work"
trap 'e2e_cleanup; wine_stop' EXIT

x11_start_xvfb
title="Kestrane Setup"
robust_product="Kestrane Robust Product"
slow_product="Kestrane Slow Product"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

if [ "$target" = host ]; then
  x11_close="$(realpath "$1")"
  export KESTRANE_PREFIX="$work/prefix" SDL_VIDEODRIVER=x11
  mkdir -p "$KESTRANE_PREFIX"
  program_files="$KESTRANE_PREFIX/drive_c/Program Files"
  demo_link="$KESTRANE_PREFIX/drive_c/Users/Public/Desktop/Demo Product.lnk"
  started_after_finish() { grep -q "Start.cmd" "$KESTRANE_PREFIX/shell.log" 2>/dev/null; }
  answer_yes() { x11_keys "$1" Return; }
  # Held as Windows programs hold their files, through the backend's sharing
  # emulation: flock(1) holds it without sharing until the release file comes.
  hold() {  # host-path ready release
    launch flock -x "$1" sh -c 'touch "$0"; i=0; while [ ! -e "$1" ] && [ $i -lt 3000 ]; do sleep 0.1; i=$((i + 1)); done' "$2" "$3"
    holder_pid=$last_pid
  }
  # arm_close window file, before the pass starts; await_close, after: the
  # window is asked to close once the pass has written the file.
  arm_close() { close_args=("$1" "$2"); }
  await_close() {
    e2e_wait_file "${close_args[1]}" 60 || e2e_fail "the slow pass wrote nothing"
    "$x11_close" "${close_args[0]}" || e2e_fail "the window could not be asked to close"
  }
  error_text() { echo "(the host's message box text is checked by the application's unit tests)"; }
else
  hold_file="$(realpath "$1")"
  close_helper="$(realpath "$2")"
  window_text="$(realpath "$3")"
  e2e_wine_prefix "$work/wine" "$work/home"
  program_files="$WINEPREFIX/drive_c/Program Files"
  demo_link="$(timeout 60 winepath -u 'C:\Users\Public\Desktop\Demo Product.lnk')"
  started_after_finish() { e2e_wait_file "$program_files/$robust_product/started.txt" 20; }
  answer_yes() { x11_keys "$1" y; }
  hold() {  # host-path ready release
    launch "$hold_file" "$(timeout 60 winepath -w "$1")" "$(timeout 60 winepath -w "$2")" "$(timeout 60 winepath -w "$3")"
    holder_pid=$last_pid
  }
  # Starting a Windows program takes longer than writing a few files: the
  # helper is started before the pass and watches for the file itself.
  arm_close() {
    rm -f "$work/closer-ready"
    launch "$close_helper" KestraneSetupClass "$title" "$(timeout 60 winepath -w "$2")" \
      "$(timeout 60 winepath -w "$work/closer-ready")"
    closer_pid=$last_pid
    e2e_wait_file "$work/closer-ready" 60 || e2e_fail "the closing helper did not start"
  }
  await_close() {
    e2e_wait_exit "$closer_pid" 90 || e2e_fail "the closing helper did not end"
    [ "$E2E_STATUS" = 0 ] || e2e_fail "the window could not be asked to close"
  }
  # The box's window may be up on the screen a moment before Wine lists it.
  error_text() {
    local i
    for i in 1 2 3 4 5 6 7 8 9 10; do
      launch "$window_text" "Setup Error!" "$(timeout 60 winepath -w "$work/error-text.txt")"
      if e2e_wait_exit "$last_pid" 30 && [ "$E2E_STATUS" = 0 ]; then
        tr -d '\r' <"$work/error-text.txt"
        return 0
      fi
      sleep 1
    done
  }
fi
# Starts a program of the target in the background; its process id in last_pid.
launch() {
  target_launch "$target" "$work/setup.log" "$@"
  last_pid=$target_pid
}
robust_dir="$program_files/$robust_product"
slow_dir="$program_files/$slow_product"
demo_dir="$program_files/Demo Product"

start() {  # setup: starts it; its process id in setup_pid
  x11_pointer_to 0 0
  launch "$1"
  setup_pid=$last_pid
}

# Walks the wizard in window $1 from Welcome to the file types page with Enter,
# each page settled before the next key.
walk_to_filetypes() {  # window
  e2e_wizard "$1"
  E2E_STEP=stable e2e_walk_to FileTypes
}

# Waits for the Finished page of a pass that writes the file $2, then finishes
# with Escape (on Installing, Escape is ignored and the setup would not end).
finish() {  # window installed-file what
  e2e_wait_file "$2" 60 || e2e_fail "$3: the installation did not write its files"
  e2e_registry_has "$uninstall_key" "Kestrane Robust Company" || sleep 2
  x11_wait_stable "$1" 20 || e2e_fail "$3: Finished did not settle"
  x11_keys "$1" Escape
  e2e_wait_exit "$setup_pid" 30 || e2e_fail "$3: the setup did not end after Finish"
  [ "$E2E_STATUS" = 0 ] || e2e_fail "$3: the setup ended with $E2E_STATUS after Finish"
}

# Every file and folder under $1 with the bytes of each file, and what more the
# find format $2 prints of each: two listings differ when anything there changed.
listing() {  # folder [format]
  (cd "$1" && find . -printf "%y %P${2:-}\n" | LC_ALL=C sort && find . -type f -exec sha256sum {} + | LC_ALL=C sort)
}

# Waits for the demo's Finished page, then clears "Run software upon exiting
# Setup?" (the focused check box) and finishes: the viewer is not wanted here.
# The first time, the page is known by the desktop link (the settings alone
# come after it), and its look is kept; later passes are known by that look.
demo_finished="$screens/demo-finished.png"
finish_demo() {  # window what
  if [ -e "$demo_finished" ]; then
    x11_wait_look "$1" "$demo_finished" 60 || e2e_fail "$2: Finished did not show"
  else
    e2e_wait_file "$demo_link" 60 || e2e_fail "$2: the installation did not write its links"
    x11_wait_stable "$1" 20 || e2e_fail "$2: Finished did not settle"
    x11_shot "$1" "$demo_finished"
  fi
  x11_keys "$1" space Escape
  e2e_wait_exit "$setup_pid" 30 || e2e_fail "$2: the setup did not end after Finish"
  [ "$E2E_STATUS" = 0 ] || e2e_fail "$2: the setup ended with $E2E_STATUS after Finish"
}

# --- 1. an installation, and Finish starting the program ------------------------
begin=$SECONDS
start "$robust"
win="$(x11_wait_window "$title" 60)" || e2e_fail "the wizard's window did not appear"
walk_to_filetypes "$win"
x11_shot "$win" "$screens/filetypes.png"
E2E_STEP=none e2e_walk_to Installing
finish "$win" "$robust_dir/Uninstall.cmd" "first installation"
cmp -s "$robust_dir/readme.txt" "$(dirname "$robust")/product/readme.txt" ||
  e2e_fail "readme.txt was not installed whole"
started_after_finish || e2e_fail "Finish did not start the program"
echo "ok: an installation, and Finish starting the program ($((SECONDS - begin)) s)"

# --- 2. an upgrade of the demo with a file held open -------------------------------
begin=$SECONDS
rm -rf "$demo_dir" "$demo_link"               # left by an earlier run in the kept prefix
start "$demo"
win="$(x11_wait_window "$title" 60)" || e2e_fail "the demo's wizard did not appear"
walk_to_filetypes "$win"
E2E_STEP=none e2e_walk_to Installing
finish_demo "$win" "installing the demo"
# The user's own file and folder beside the product's files: an upgrade keeps them.
echo "mine" >"$demo_dir/my notes.txt"
mkdir -p "$demo_dir/saves"
echo "saved" >"$demo_dir/saves/one.sav"
listing "$demo_dir" >"$work/before-upgrade.txt"
# With the inode and time of each: a failed upgrade may not even write a file again.
listing "$demo_dir" ' %i %T@' >"$work/untouched.txt"
rm -f "$work/held" "$work/release"
start "$demo"
win="$(x11_wait_window "$title" 60)" || e2e_fail "the demo's wizard did not appear"
# Held once the wizard is up: a Windows console program started while no
# window of Wine's is open may be given a desktop of its own, and then so may
# the programs after it.
hold "$demo_dir/sample.demo" "$work/held" "$work/release"
e2e_wait_file "$work/held" 60 || e2e_fail "the file was not held"
walk_to_filetypes "$win"
x11_shot "$win" "$screens/demo-filetypes.png"
E2E_STEP=none e2e_walk_to Installing
box="$(x11_wait_window "Setup Error!" 60)" || e2e_fail "no error box for the held file"
x11_shot "$box" "$screens/error-held-file.png"
said="$(error_text)"
case "$said" in
  *"Failed to: Overwrite existing folder"* | "(the host's"*) ;;
  *) e2e_fail "the error box said: $said" ;;
esac
listing "$demo_dir" ' %i %T@' >"$work/after-error.txt"
diff "$work/untouched.txt" "$work/after-error.txt" >&2 || e2e_fail "the failed upgrade changed the install"
[ ! -e "$demo_dir.ks-new" ] && [ ! -e "$demo_dir.ks-old" ] ||
  e2e_fail "the failed upgrade left a folder beside the install folder"
x11_keys "$box" Return
x11_wait_window_gone "Setup Error!" 20 || e2e_fail "the error box stayed"
x11_wait_stable "$win" 20 || e2e_fail "the page after the error did not settle"
x11_shot "$win" "$screens/after-error.png"
x11_same "$screens/after-error.png" "$screens/demo-filetypes.png" ||
  e2e_fail "after the error the wizard is not on the file types page as it was"
touch "$work/release"
e2e_wait_exit "$holder_pid" 30 || e2e_fail "the holder did not let go"
E2E_PAGE=FileTypes
E2E_STEP=none e2e_walk_to Installing
finish_demo "$win" "installing again"
# The same version again: every file as it was, the user's among them.
listing "$demo_dir" >"$work/after-upgrade.txt"
diff "$work/before-upgrade.txt" "$work/after-upgrade.txt" >&2 ||
  e2e_fail "the upgrade did not leave the product's files and the user's as they were"
[ ! -e "$demo_dir.ks-new" ] && [ ! -e "$demo_dir.ks-old" ] ||
  e2e_fail "the upgrade left a folder beside the install folder"
echo "ok: a held file stops the demo's upgrade with \"Overwrite existing folder\" and changes nothing; the next attempt installs and keeps the user's files ($((SECONDS - begin)) s)"

# --- 3. the window closed by the system while the files are written ---------------
begin=$SECONDS
# A whole pass of an earlier run in the kept prefix registered the product.
if [ "$target" = wine ]; then
  timeout 60 wine reg delete "$uninstall_key\\$slow_product" /f >/dev/null 2>&1 || true
fi
start "$slow"
win="$(x11_wait_window "$title" 60)" || e2e_fail "the slow wizard's window did not appear"
e2e_wizard "$win" --no-file-types
E2E_STEP=stable e2e_walk_to InstallFolder
arm_close "$win" "$slow_dir.ks-new/chunk-1.bin"   # written into the staging folder first
E2E_STEP=none e2e_walk_to Installing         # no file types: straight to Installing
await_close
e2e_wait_exit "$setup_pid" 60 || e2e_fail "the setup did not end after the system closed it"
[ "$E2E_STATUS" = 0 ] || e2e_fail "the setup ended with $E2E_STATUS after the system closed it"
# The pass is cut short and changes nothing, or, when the close comes after its
# last file (a streamed pass writes these zeros faster than Wine delivers the
# close on an idle machine), it is whole; never a part, never a folder beside it.
if [ -e "$slow_dir" ]; then
  for i in $(seq 1 24); do
    [ "$(stat -c %s "$slow_dir/chunk-$i.bin" 2>/dev/null)" = 33554432 ] ||
      e2e_fail "the close left a part of the install (chunk-$i.bin)"
  done
  [ -f "$slow_dir/Uninstall.cmd" ] || e2e_fail "the close left a part of the install"
  outcome="the pass had ended and is whole"
else
  ! e2e_registry_has "$uninstall_key" "Kestrane Slow Company" ||
    e2e_fail "a pass cut short registered the product"
  outcome="the pass stopped and left nothing"
fi
[ ! -e "$slow_dir.ks-new" ] && [ ! -e "$slow_dir.ks-old" ] ||
  e2e_fail "the close left a folder beside the install folder"
rm -rf "$slow_dir"
echo "ok: closed by the system while the files were written, $outcome ($((SECONDS - begin)) s)"

# --- 4. two copies of one setup ------------------------------------------------------
begin=$SECONDS
start "$robust"
first_pid=$setup_pid
first="$(x11_wait_window "$title" 60)" || e2e_fail "the first copy's window did not appear"
x11_wait_stable "$first" 20 || e2e_fail "the first copy did not settle"
start "$demo"                                # another product's setup may run beside it
other_pid=$setup_pid
deadline=$((SECONDS + 60))
while [ "$(x11_find_windows "$title" | wc -l)" -lt 2 ]; do
  [ "$SECONDS" -lt "$deadline" ] || e2e_fail "another product's setup did not show its window"
  sleep 0.2
done
other_win="$(x11_find_windows "$title" | grep -vx "$first" | head -n 1)"
x11_wait_stable "$other_win" 20 || e2e_fail "the other product's setup did not settle"
# xwininfo lists the windows from the top of the stack down: the upper of the two.
on_top() {
  xwininfo -root -children | awk '$1 ~ /^0x/ { print $1 }' | while read -r id; do
    for w in "$first" "$other_win"; do [ "$((id))" != "$w" ] || echo "$w"; done
  done | head -n 1
}
[ "$(on_top)" = "$other_win" ] || e2e_fail "the other product's window did not open on top"
start "$robust"
e2e_wait_exit "$setup_pid" 60 || e2e_fail "the second copy did not end"
[ "$E2E_STATUS" = 0 ] || e2e_fail "the second copy ended with $E2E_STATUS"
[ "$(x11_find_windows "$title" | wc -l)" = 2 ] || e2e_fail "the second copy showed a window"
deadline=$((SECONDS + 10))
until [ "$(on_top)" = "$first" ]; do
  [ "$SECONDS" -lt "$deadline" ] || e2e_fail "the second copy did not bring the first to the front"
  sleep 0.2
done
import -window root "$screens/second-copy.png"
for pid in "$first_pid" "$other_pid"; do
  w="$first"
  [ "$pid" = "$first_pid" ] || w="$other_win"
  x11_keys "$w" Escape
  question="$(x11_wait_window "Cancel Setup?" 20)" || e2e_fail "Escape asked nothing"
  answer_yes "$question"
  e2e_wait_exit "$pid" 30 || e2e_fail "a setup did not end after Yes"
done

# Started at the same moment: one window, and the other copy ends with 0.
start "$robust"
a=$setup_pid
start "$robust"
b=$setup_pid
x11_wait_window "$title" 60 >/dev/null || e2e_fail "neither copy showed a window"
deadline=$((SECONDS + 60))
while kill -0 "$a" 2>/dev/null && kill -0 "$b" 2>/dev/null; do
  [ "$SECONDS" -lt "$deadline" ] || e2e_fail "two copies started together both kept running"
  sleep 0.2
done
if kill -0 "$a" 2>/dev/null; then running=$a ended=$b; else running=$b ended=$a; fi
e2e_wait_exit "$ended" 5 || true
[ "$E2E_STATUS" = 0 ] || e2e_fail "the copy that gave way ended with $E2E_STATUS"
sleep 1
[ "$(x11_find_windows "$title" | wc -l)" = 1 ] || e2e_fail "two copies started together showed two windows"
win="$(x11_find_windows "$title")"
x11_keys "$win" Escape
question="$(x11_wait_window "Cancel Setup?" 20)" || e2e_fail "Escape asked nothing"
answer_yes "$question"
e2e_wait_exit "$running" 30 || e2e_fail "the remaining copy did not end after Yes"
echo "ok: a second copy brings the first to the front and ends; two at once show one window ($((SECONDS - begin)) s)"
