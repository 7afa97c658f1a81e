# Sourced by the scripts and tests that start the program under test: starting
# it natively or under Wine, keeping its process id so that the clean-up stops
# it, failing with what the screen showed, and walking its wizard to a page by
# name. Every wait has a deadline, and everything started here is stopped by its
# process id when the script calls e2e_cleanup.
#
#   target_launch TARGET LOG PROGRAM [ARGS...]
#   e2e_wizard WINDOW [--no-file-types], e2e_walk_to PAGE
#   e2e_fail, e2e_cleanup, e2e_wait_exit, e2e_wait_file
# shellcheck shell=bash

[ -z "${target_lib_sourced:-}" ] || return 0
target_lib_sourced=1

e2e_pids=()
e2e_tmp="$(mktemp -d)"
# The Wine prefix is the one wine_env is given, never one left in the caller's
# environment: the clean-up stops its server.
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

# Starts PROGRAM in the background with its output appended to LOG: natively
# (TARGET host), under Wine in the prefix wine_env chose (wine), or through
# scripts/wine-run in a prefix of its own (wine-run). Its process id is left in
# target_pid and stopped by e2e_cleanup.
target_launch() {
  local target="$1" log="$2"
  shift 2
  case "$target" in
    host) ;;
    wine) set -- wine "$@" ;;
    wine-run) set -- "$(dirname "${BASH_SOURCE[0]}")/../wine-run" "$@" ;;
    *) e2e_fail "target_launch: unknown target $target" ;;
  esac
  "$@" >>"$log" 2>&1 &
  target_pid=$!
  e2e_pids+=("$target_pid")
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

# Waits up to $2 seconds (default 30) until file $1 exists.
e2e_wait_file() {
  local deadline=$((SECONDS + ${2:-30}))
  until [ -e "$1" ]; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# --- the wizard's pages ----------------------------------------------------------

# The pages in the order the wizard shows them. FileTypes shows only when the
# package offers optional file types; Return on a page leads to the next.
e2e_pages=(Welcome License InstallFolder FileTypes Installing Finished)

# The wizard just found in window $1 shows Welcome. --no-file-types: its
# package offers no optional file types, so InstallFolder leads to Installing.
e2e_wizard() {
  E2E_WINDOW="$1"
  E2E_PAGE=Welcome
  E2E_FILE_TYPES=1
  [ "${2:-}" != --no-file-types ] || E2E_FILE_TYPES=0
}

# The position of page $1 in e2e_pages; fails for a name that is none.
e2e_page_index() {
  local i
  for i in "${!e2e_pages[@]}"; do
    [ "${e2e_pages[$i]}" != "$1" ] || { echo "$i"; return 0; }
  done
  e2e_fail "no wizard page is named $1"
}

# Walks the wizard of e2e_wizard from the page it shows to page $1 with Return,
# one press for each page on the way. E2E_STEP says how each turn is awaited:
#   change  (the default) until the window looks different; with E2E_SHOTS, a
#           screenshot of each page left is kept there as N-page.png (0-welcome.png)
#   stable  until the window has settled
#   sleep   a second before each press, nothing after
#   none    not at all: the presses go out together in one xdotool call
#   repeat  as fast as a user at the keyboard could not: Return goes to the window
#           every 20 ms (without giving it the keyboard) until the command
#           E2E_TURNED, given the page's name, says that page is left; a press
#           that comes before the window takes keys is simply lost. No
#           screenshots, so that the walk costs the program under test nothing.
e2e_walk_to() {
  local from to i page name shot
  local -a passed=()
  from="$(e2e_page_index "$E2E_PAGE")"
  to="$(e2e_page_index "$1")"
  [ "$to" -gt "$from" ] || e2e_fail "the wizard is on $E2E_PAGE, not before $1"
  [ "$E2E_FILE_TYPES" = 1 ] || [ "$1" != FileTypes ] ||
    e2e_fail "the package offers no file types: the wizard never shows FileTypes"
  for ((i = from; i < to; i++)); do
    [ "$E2E_FILE_TYPES" = 1 ] || [ "${e2e_pages[$i]}" != FileTypes ] || continue
    passed+=("${e2e_pages[$i]}")
  done
  case "${E2E_STEP:-change}" in
    none)
      local -a keys=()
      for page in "${passed[@]}"; do keys+=(Return); done
      x11_keys "$E2E_WINDOW" "${keys[@]}"
      ;;
    sleep)
      for page in "${passed[@]}"; do
        sleep 1
        x11_keys "$E2E_WINDOW" Return
      done
      ;;
    stable)
      for page in "${passed[@]}"; do
        x11_keys "$E2E_WINDOW" Return
        x11_wait_stable "$E2E_WINDOW" 20 || e2e_fail "the page after $page did not settle"
      done
      ;;
    change)
      for page in "${passed[@]}"; do
        name="${page,,}"
        shot="$e2e_tmp/walk.png"
        [ -z "${E2E_SHOTS:-}" ] || shot="$E2E_SHOTS/$(e2e_page_index "$page")-$name.png"
        x11_shot "$E2E_WINDOW" "$shot"
        x11_keys "$E2E_WINDOW" Return
        x11_wait_change "$E2E_WINDOW" "$shot" 20 || e2e_fail "Enter on $name did not turn the page"
      done
      ;;
    repeat)
      local deadline=$((SECONDS + 120))
      for page in "${passed[@]}"; do
        while :; do
          [ "$SECONDS" -lt "$deadline" ] || e2e_fail "the wizard did not leave $page"
          xdotool key --window "$E2E_WINDOW" Return 2>/dev/null || true
          sleep 0.02
          ! "$E2E_TURNED" "$page" || break
        done
      done
      ;;
    *) e2e_fail "e2e_walk_to: unknown step ${E2E_STEP}" ;;
  esac
  E2E_PAGE="$1"
}
