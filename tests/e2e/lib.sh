# Shared pieces of the end-to-end drivers: a private X server, finding and
# driving the wizard's window with xdotool, screenshots, and cleaning up. Every
# wait has a deadline, and everything started here is stopped by its process id
# when the script exits.
# shellcheck shell=bash

e2e_pids=()
e2e_tmp="$(mktemp -d)"
# The Wine prefix is the one e2e_wine_prefix or the script chooses, never one
# left in the caller's environment: the clean-up stops its server.
unset WINEPREFIX

e2e_cleanup() {
  rm -rf "$e2e_tmp"
  local pid
  for pid in "${e2e_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${e2e_pids[@]}"; do
    timeout 5 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null || true
  done
}

# Fails the run. When E2E_DIAGNOSE names a folder, what the screen showed and
# which windows there were is left there first.
e2e_fail() {
  echo "FAIL: $*" >&2
  # A box the program could not show is the usual reason a wait for one fails,
  # and the program says why only in its own log: say it here too.
  if [ -n "${E2E_DIAGNOSE:-}" ]; then
    grep -h 'message box .* not shown' "$E2E_DIAGNOSE"/*.log 2>/dev/null | sort -u | sed 's/^/  /' >&2 || true
  fi
  if [ -n "${E2E_DIAGNOSE:-}" ] && [ -n "${DISPLAY:-}" ]; then
    xwininfo -root -tree >"$E2E_DIAGNOSE/failure-windows.txt" 2>&1 || true
    import -window root "$E2E_DIAGNOSE/failure-screen.png" 2>/dev/null || true
    ps -eo pid,stat,etime,time,args >"$E2E_DIAGNOSE/failure-processes.txt" 2>&1 || true
  fi
  exit 1
}

# Starts Xvfb on a free display and exports DISPLAY.
e2e_start_xvfb() {
  local fd_file
  fd_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
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
e2e_find_windows() {
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
e2e_wait_window() {
  local deadline=$((SECONDS + ${2:-30})) id
  while :; do
    id="$(e2e_find_windows "$1" | head -n 1)"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# Waits until no viewable window is named exactly $1 (up to $2 seconds).
e2e_wait_window_gone() {
  local deadline=$((SECONDS + ${2:-30}))
  while [ -n "$(e2e_find_windows "$1")" ]; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# Waits up to $2 seconds for process $1, a child of this shell, to end, and
# leaves its exit status in E2E_STATUS. Fails when it does not end in time.
e2e_wait_exit() {
  local pid="$1" deadline=$((SECONDS + ${2:-30}))
  while kill -0 "$pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
  E2E_STATUS=0
  wait "$pid" || E2E_STATUS=$?
}

# Window geometry into WX, WY, WW, WH.
e2e_geometry() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
}

# Gives window $1 the keyboard and types the keys that follow.
e2e_keys() {
  local id="$1"
  shift
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  xdotool key --delay 60 "$@"
}

# Moves the pointer to ($1, $2) of the screen and waits until it is there. A
# move to where the pointer already is is left out: xdotool would wait for a
# motion that never comes (15 seconds over a Wine window).
e2e_pointer_to() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  [ "$X" = "$1" ] && [ "$Y" = "$2" ] || xdotool mousemove --sync "$1" "$2"
}

# Clicks at ($2, $3) of window $1's client area.
e2e_click() {
  e2e_geometry "$1"
  e2e_pointer_to $((WX + $2)) $((WY + $3))
  xdotool click 1
}

# Clicks the rightmost button of the navigation bar (Next, I Agree or Finish).
e2e_click_forward() {
  e2e_geometry "$1"
  e2e_pointer_to $((WX + WW - 24)) $((WY + WH - 12))
  xdotool click 1
}

# Saves window $1's picture as $2 after the window has had a moment to paint.
e2e_shot() {
  sleep 0.4
  import -window "$1" "$2"
}

# True when two screenshots are the same picture.
e2e_same() {
  [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = "0" ]
}

# Waits up to $3 seconds until window $1 looks different from picture $2; the
# new look is left in the file E2E_LAST names.
e2e_wait_change() {
  local id="$1" before="$2" deadline=$((SECONDS + ${3:-30}))
  E2E_LAST="$e2e_tmp/last.png"
  while :; do
    import -window "$id" "$E2E_LAST"
    e2e_same "$before" "$E2E_LAST" || return 0
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.3
  done
}

# Waits up to $2 seconds until two looks of window $1 taken a moment apart are
# the same.
e2e_wait_stable() {
  local id="$1" deadline=$((SECONDS + ${2:-30}))
  import -window "$id" "$e2e_tmp/stable-a.png"
  while :; do
    sleep 0.4
    import -window "$id" "$e2e_tmp/stable-b.png"
    e2e_same "$e2e_tmp/stable-a.png" "$e2e_tmp/stable-b.png" && return 0
    mv "$e2e_tmp/stable-b.png" "$e2e_tmp/stable-a.png"
    [ "$SECONDS" -lt "$deadline" ] || return 1
  done
}

# --- Wine ----------------------------------------------------------------------

# Makes (unless it is there) a 32-bit Wine prefix $1 for the programs this script starts, with
# $2 as HOME: a fresh prefix links its Desktop and Documents folders into HOME,
# and link creation would otherwise write desktop entries there. No Mono or
# Gecko prompts. Making one takes about half a minute.
e2e_wine_prefix() {
  export WINEARCH=win32 WINEDEBUG=-all WINEPREFIX="$1" HOME="$2"
  export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
  mkdir -p "$HOME"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout --kill-after=10 300 wineboot --init >/dev/null 2>&1 || true
    timeout --kill-after=10 120 wineserver --wait || true
  fi
  [ -f "$WINEPREFIX/system.reg" ] || e2e_fail "Wine made no prefix in $WINEPREFIX"
  e2e_wine_keep_server
}

# Keeps the Wine server running between programs until e2e_wine_stop: each
# start of it reads the whole registry again and starts Wine's services.
e2e_wine_keep_server() {
  timeout 30 wineserver -p || e2e_fail "the Wine server did not start"
}

# Stops every process of the Wine prefix in use, if there is one.
e2e_wine_stop() {
  [ -z "${WINEPREFIX:-}" ] || timeout 30 wineserver -k >/dev/null 2>&1 || true
}

# Keeps in folder $1 what the Wine machine holds now: files.txt lists its files
# under drive_c (path, size, time), HKLM.reg and HKCU.reg are its registry as
# Windows' reg exports it. Two snapshots show what happened in between.
e2e_wine_snapshot() {
  mkdir -p "$1"
  (cd "$WINEPREFIX/drive_c" && find . -type f -printf '%P\t%s\t%T@\n' | LC_ALL=C sort) \
    >"$1/files.txt"
  local hive
  for hive in HKLM HKCU; do
    (cd "$1" && timeout 120 wine reg export "$hive" "$hive.reg" /y >/dev/null 2>&1) ||
      e2e_fail "could not export $hive"
  done
}

# Between the snapshots $1/before and $1/after: copies each file added or changed
# into $1/files (by its path under drive_c) and writes its long and 8.3 short
# Windows paths, a tab apart, into $1/short-names.txt.
e2e_wine_keep_changes() {
  local dir="$1" path
  local -a changed=() windows=()
  mapfile -t changed < <(LC_ALL=C comm -13 "$dir/before/files.txt" "$dir/after/files.txt" | cut -f1)
  mkdir -p "$dir/files"
  : >"$dir/short-names.txt"
  [ "${#changed[@]}" -gt 0 ] || return 0
  (cd "$WINEPREFIX/drive_c" && cp --parents -- "${changed[@]}" "$dir/files/")
  for path in "${changed[@]}"; do
    windows+=("C:\\${path//\//\\}")
  done
  timeout 60 winepath -s "${windows[@]}" | tr -d '\r' |
    paste <(printf '%s\n' "${windows[@]}") - >"$dir/short-names.txt"
}

# Waits up to $2 seconds (default 30) until file $1 exists.
e2e_wait_file() {
  local deadline=$((SECONDS + ${2:-30}))
  until [ -e "$1" ]; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# True when some value at or below registry key $1 (HKLM\...) holds the text $2:
# read with Wine's registry tool when e2e_wine_prefix chose a prefix, else from the
# host prefix's registry file (keys compared without regard to case).
e2e_registry_has() {
  if [ -n "${WINEPREFIX:-}" ]; then
    # grep reads to the end: with -q it would stop early and fail the pipe.
    timeout 60 wine reg query "$1" /s 2>/dev/null | tr -d '\r' | grep -F "$2" >/dev/null
  else
    [ -f "$KESTRANE_PREFIX/registry.reg" ] || return 1
    iconv -f UTF-16LE -t UTF-8 "$KESTRANE_PREFIX/registry.reg" | tr -d '\r' |
      KEY="[${1/HKLM/HKEY_LOCAL_MACHINE}" TEXT="$2" awk '
        /^\[/ { inside = index(tolower($0), tolower(ENVIRON["KEY"])) == 1 }
        inside && index($0, ENVIRON["TEXT"]) > 0 { found = 1 }
        END { exit found ? 0 : 1 }'
  fi
}
