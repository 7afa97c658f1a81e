# Sourced by the scripts and tests that drive a window: a private X server,
# finding windows and waiting for them, keys and clicks with xdotool, and
# screenshots. Every wait has a deadline; the X server is stopped by its process
# id with the rest of what target.sh's e2e_cleanup stops.
# shellcheck shell=bash

# shellcheck source=target.sh
. "$(dirname "${BASH_SOURCE[0]}")/target.sh"

# Starts Xvfb on a free display and exports DISPLAY. -noreset: by default the
# server resets whenever its last client leaves (a setup that ended, between two
# tests' windows), and a client connecting during the reset is refused; on a
# slow machine the next xdotool call met that moment.
x11_start_xvfb() {
  local fd_file
  fd_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fd_file" >/dev/null 2>&1 &
  e2e_pids+=("$!")
  local deadline=$((SECONDS + 20))
  while [ ! -s "$fd_file" ]; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "Xvfb did not start"
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$fd_file")"
  rm -f "$fd_file"
}

# Prints the ids of the viewable top-level windows named exactly $1. xwininfo
# reads names of every encoding (SDL's message boxes name themselves in UTF-8
# only, which xdotool's search does not see).
x11_find_windows() {
  local id
  xwininfo -root -children 2>/dev/null |
    awk -v name="\"$1\":" 'index($0, name) && $1 ~ /^0x/ { print $1 }' |
    while read -r id; do
      if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
        printf '%d\n' "$id"
      fi
    done
}

# Prints the id of the first viewable window named exactly $1, waiting up to $2
# seconds (default 30); fails when none comes.
x11_wait_window() {
  local deadline=$((SECONDS + ${2:-30})) id
  while :; do
    id="$(x11_find_windows "$1" | head -n 1)"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# Waits until no viewable window is named exactly $1 (up to $2 seconds).
x11_wait_window_gone() {
  local deadline=$((SECONDS + ${2:-30}))
  while [ -n "$(x11_find_windows "$1")" ]; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# Window geometry into WX, WY, WW, WH.
x11_geometry() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
}

# Gives window $1 the keyboard and types the keys that follow.
x11_keys() {
  local id="$1"
  shift
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  xdotool key --delay 60 "$@"
}

# Moves the pointer to ($1, $2) of the screen and waits until it is there. A
# move to where the pointer already is is left out: xdotool would wait for a
# motion that never comes (15 seconds over a Wine window).
x11_pointer_to() {
  local X="" Y="" SCREEN WINDOW where
  where="$(xdotool getmouselocation --shell)" || e2e_fail "the X server at $DISPLAY is gone"
  eval "$where"
  [ "$X" = "$1" ] && [ "$Y" = "$2" ] || xdotool mousemove --sync "$1" "$2"
}

# Clicks at ($2, $3) of window $1's client area.
x11_click() {
  x11_geometry "$1"
  x11_pointer_to $((WX + $2)) $((WY + $3))
  xdotool click 1
}

# Clicks the rightmost button of the navigation bar (Next, I Agree or Finish).
x11_click_forward() {
  x11_geometry "$1"
  x11_pointer_to $((WX + WW - 24)) $((WY + WH - 12))
  xdotool click 1
}

# Saves window $1's picture as $2 after the window has had a moment to paint.
x11_shot() {
  sleep 0.4
  import -window "$1" "$2"
}

# True when two screenshots are the same picture.
x11_same() {
  [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = "0" ]
}

# Waits up to $3 seconds until window $1 looks different from picture $2; the
# new look is left in the file X11_LAST names.
x11_wait_change() {
  local id="$1" before="$2" deadline=$((SECONDS + ${3:-30}))
  X11_LAST="$e2e_tmp/last.png"
  while :; do
    import -window "$id" "$X11_LAST"
    x11_same "$before" "$X11_LAST" || return 0
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.3
  done
}

# Waits up to $3 seconds until window $1 looks like picture $2.
x11_wait_look() {
  local id="$1" picture="$2" deadline=$((SECONDS + ${3:-30}))
  while :; do
    import -window "$id" "$e2e_tmp/look.png"
    ! x11_same "$picture" "$e2e_tmp/look.png" || return 0
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.3
  done
}

# Waits up to $2 seconds until two looks of window $1 taken a moment apart are
# the same.
x11_wait_stable() {
  local id="$1" deadline=$((SECONDS + ${2:-30}))
  import -window "$id" "$e2e_tmp/stable-a.png"
  while :; do
    sleep 0.4
    import -window "$id" "$e2e_tmp/stable-b.png"
    x11_same "$e2e_tmp/stable-a.png" "$e2e_tmp/stable-b.png" && return 0
    mv "$e2e_tmp/stable-b.png" "$e2e_tmp/stable-a.png"
    [ "$SECONDS" -lt "$deadline" ] || return 1
  done
}
