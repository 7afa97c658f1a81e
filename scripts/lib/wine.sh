# Sourced by the scripts and tests that run Windows programs under Wine: the one
# environment they run with and the one way a prefix is made.
#
#   wine_env PREFIX HOME     exports the environment for the prefix PREFIX
#   wine_prefix [LOG [LOCK]] makes the prefix unless it is there
#   wine_keep_server         keeps its server running between programs
#   wine_stop                stops every process of the prefix in use
#
# Every wait is bounded.
# shellcheck shell=bash

# A 32-bit prefix, quiet, with HOME at $2: a fresh prefix links its Desktop and
# Documents folders into HOME, and link creation would otherwise write desktop
# entries there. No Mono or Gecko prompts when the prefix is made, and no
# desktop entries for links.
wine_env() {
  export WINEARCH=win32 WINEDEBUG=-all WINEPREFIX="$1" HOME="$2"
  export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
  mkdir -p "$HOME"
}

# Makes WINEPREFIX (about half a minute) unless it holds a registry already;
# wineboot's output goes to LOG. With LOCK, several scripts starting at once
# make it only once: the first holds the lock file while the others wait. True
# when the prefix is there afterwards.
wine_prefix() {
  local log="${1:-/dev/null}" lock="${2:-}"
  [ ! -f "$WINEPREFIX/system.reg" ] || return 0
  (
    if [ -n "$lock" ]; then flock 9; fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      timeout --kill-after=10 300 wineboot --init >"$log" 2>&1 || true
      timeout --kill-after=10 120 wineserver --wait || true
    fi
  ) 9>"${lock:-/dev/null}"
  [ -f "$WINEPREFIX/system.reg" ]
}

# Keeps the Wine server running until wine_stop: each start of it reads the
# whole registry again and starts Wine's services. A script that waits for the
# server to end (wineserver -w) must not call this.
wine_keep_server() {
  timeout 30 wineserver -p
}

# Stops every process of the Wine prefix in use, if there is one.
wine_stop() {
  [ -z "${WINEPREFIX:-}" ] || timeout 30 wineserver -k >/dev/null 2>&1 || true
}
