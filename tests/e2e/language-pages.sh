#!/usr/bin/env bash
# Walks the demo's wizard as a user of another language would meet it, and keeps
# a picture of each page.
#
#   language-pages host|wine SETUP LOCALE WORKDIR [--same DIR] [--unlike DIR] [--scale S]
#
# LOCALE (de_DE.UTF-8) is the user's: LC_ALL of the setup, natively or under
# Wine in a fresh prefix under WORKDIR. Wine falls back to English when the
# machine lacks the locale, so under Wine the run first checks that Wine took
# it. The setup must speak the locale's language when the tools ship it, and
# English otherwise: the window's name and the cancel question's caption are
# those texts. The pages' pictures are kept in WORKDIR/screens (0-welcome.png,
# ...); with --same each must equal the picture of the same name in DIR (as
# compare-pages compares them), with --unlike each must differ from it. With
# --scale the display is S times 96 dots an inch (KESTRANE_SCALE on the host,
# LogPixels under Wine) and the window must be S times its size at 96.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=lib.sh
. "$here/lib.sh"

target="$1"
setup="$(realpath "$2")"
locale="$3"
work="$(realpath -m "$4")"
shift 4
same="" unlike="" scale=1
while [ $# -gt 0 ]; do
  case "$1" in
    --same) same="$2" ;;
    --unlike) unlike="$2" ;;
    --scale) scale="$2" ;;
    *) e2e_fail "unknown option $1" ;;
  esac
  shift 2
done
rm -rf "$work"
mkdir -p "$work/screens"
screens="$work/screens"
export E2E_DIAGNOSE="$work"
trap 'e2e_cleanup; wine_stop' EXIT

title="$(e2e_text window-name "$locale")"
cancel_caption="$(e2e_text cancel-caption "$locale")"
export LC_ALL="$locale"
x11_start_xvfb
if [ "$target" = host ]; then
  export KESTRANE_PREFIX="$work/prefix" SDL_VIDEODRIVER=x11 KESTRANE_SCALE="$scale"
  mkdir -p "$KESTRANE_PREFIX"
  drive="$KESTRANE_PREFIX/drive_c"
  answer_no() { x11_keys "$1" Escape; }
else
  e2e_wine_prefix "$work/wine" "$work/home"
  if [ "$scale" != 1 ]; then
    dpi="$(awk -v s="$scale" 'BEGIN { printf "%d", 96 * s }')"
    timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
      >/dev/null 2>&1 || e2e_fail "Wine took no LogPixels"
    # The server reads the scale when it starts.
    wine_stop
    timeout --kill-after=10 60 wineserver --wait || true
    wine_keep_server || e2e_fail "the Wine server did not start again"
  fi
  drive="$WINEPREFIX/drive_c"
  tag="${locale%%.*}"
  wine_locale="$(timeout 60 wine reg query 'HKCU\Control Panel\International' /v LocaleName \
    2>/dev/null | tr -d '\r' | awk '/LocaleName/ { print $NF }')"
  [ "$wine_locale" = "${tag/_/-}" ] ||
    e2e_fail "Wine took the locale $wine_locale, not $tag: is $locale generated on this machine?"
  # Windows' Yes/No box: Tab moves to No, Return presses it; its mnemonics are
  # letters of the system's language.
  answer_no() { x11_keys "$1" Tab Return; }
fi

x11_pointer_to 0 0
target_launch "$target" "$work/setup.log" "$setup"
setup_pid=$target_pid
win="$(x11_wait_window "$title" 60)" || e2e_fail "no window named \"$title\""
x11_geometry "$win"
# Each part of the window is rounded to the scale: a pixel either way is its size.
awk -v s="$scale" -v w="$WW" -v h="$WH" 'BEGIN {
  dw = w - 508 * s; dh = h - 362 * s; exit !(dw * dw <= 1 && dh * dh <= 1) }' ||
  e2e_fail "the window is ${WW}x${WH}, not $(awk -v s="$scale" 'BEGIN { print 508 * s "x" 362 * s }')"
# The road and the pointer of wizard-e2e, whose English pictures these are
# compared with: the pointer rests on the rightmost button after each click.
shot() {  # name
  x11_wait_stable "$win" 20 || e2e_fail "$1 did not settle"
  x11_shot "$win" "$screens/$1.png"
}
shot 0-welcome
x11_click_forward "$win"
x11_wait_change "$win" "$screens/0-welcome.png" 20 || e2e_fail "Next on Welcome turned no page"
shot 1-license
x11_keys "$win" Return
x11_wait_change "$win" "$screens/1-license.png" 20 || e2e_fail "Enter on License turned no page"
shot 2-installfolder

x11_keys "$win" Escape
question="$(x11_wait_window "$cancel_caption" 20)" || e2e_fail "no question named \"$cancel_caption\""
x11_shot "$question" "$work/cancel-question.png"
answer_no "$question"
x11_wait_window_gone "$cancel_caption" 20 || e2e_fail "the cancel question stayed"

x11_click_forward "$win"
x11_wait_change "$win" "$screens/2-installfolder.png" 20 || e2e_fail "Next on InstallFolder turned no page"
shot 3-filetypes
x11_click_forward "$win"
# The desktop link is among the last things written; then the page settles on
# Finished.
deadline=$((SECONDS + 120))
until find "$drive" -ipath '*/public/desktop/demo product.lnk' | grep -q .; do
  [ "$SECONDS" -lt "$deadline" ] || e2e_fail "the installation did not write its links"
  sleep 0.5
done
shot 5-finished
x11_keys "$win" Escape
e2e_wait_exit "$setup_pid" 30 || e2e_fail "the setup did not end after Finish"
[ "$E2E_STATUS" = 0 ] || e2e_fail "the setup ended with $E2E_STATUS"
if [ "$target" = wine ]; then
  timeout 30 wine taskkill /f /im DemoApp.exe >/dev/null 2>&1 || true
fi

if [ -n "$same" ]; then
  "$here/compare-pages.sh" "$same" "$screens" "$work/page-diffs" "$scale" ||
    e2e_fail "the pages in $locale are not those in $same"
fi
if [ -n "$unlike" ]; then
  for shot in "$screens"/*.png; do
    ! x11_same "$shot" "$unlike/$(basename "$shot")" ||
      e2e_fail "$(basename "$shot") in $locale is the one in $unlike"
  done
fi
echo "ok: the wizard in $locale"
