# Sourced by scripts/check: before anything is built, makes sure that every
# program the chosen stages' tests start is there and works, so that a machine
# without one stops at once with what to install, not minutes later with a
# test failing on a symptom.
#
#   preflight STAGE...     (host, win32, asan, fuzz, release)
#
# Each check is bounded in time; what it starts it stops by process id.

preflight_missing=()

# preflight_need WHAT PACKAGE COMMAND...: runs the command quietly; when it fails
# (or hangs past 30 seconds), notes WHAT as missing, to be installed from PACKAGE.
preflight_need() {
  local what="$1" package="$2"
  shift 2
  if ! timeout 30 "$@" >/dev/null 2>&1; then
    preflight_missing+=("$what: install $package (scripts/bootstrap does)")
  fi
}

preflight_have() {  # command package
  command -v "$1" >/dev/null || preflight_missing+=("$1: install $2 (scripts/bootstrap does)")
}

# Starts a private Xvfb and runs what the tests do on a display: xdotool,
# screenshots, and the X core fonts that the host message box is drawn with
# (without them SDL shows no box at all). Sets nothing outside.
preflight_display() {
  if ! command -v Xvfb >/dev/null; then
    preflight_missing+=("Xvfb: install xvfb (scripts/bootstrap does)")
    return
  fi
  local fd_file pid display=""
  fd_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 320x200x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 50); do
    display="$(tr -d '[:space:]' <"$fd_file")"
    [ -z "$display" ] || break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$fd_file"
  if [ -z "$display" ]; then
    kill "$pid" 2>/dev/null || true
    preflight_missing+=("Xvfb does not start: reinstall xvfb (scripts/bootstrap installs it)")
    return
  fi
  preflight_need "xdotool" xdotool env DISPLAY=":$display" xdotool getmouselocation
  preflight_need "xwininfo" x11-utils env DISPLAY=":$display" xwininfo -root
  preflight_need "ImageMagick's import" imagemagick \
    env DISPLAY=":$display" import -window root png:/dev/null
  # The pattern is the one SDL's X11 message box asks the server for; xlsfonts
  # says "unmatched" and succeeds all the same, so its list is what counts.
  preflight_need "the X core fonts of the host message box" xfonts-base \
    env DISPLAY=":$display" sh -c '[ -n "$(xlsfonts -fn "$1" 2>/dev/null)" ]' sh \
    '-*-*-medium-r-normal--*-120-*-*-*-*-*-*'
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

preflight_build() {
  preflight_have cmake cmake
  preflight_have ninja ninja-build
  preflight_have c++ build-essential
  preflight_have i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix
}

preflight_host() {
  preflight_have lnkinfo liblnk-utils
  preflight_have zip zip
  preflight_have unzip unzip
  preflight_have python3 python3
  preflight_need "python3's jsonschema" python3-jsonschema python3 -c 'import jsonschema'
  preflight_have xxd xxd
  preflight_have ps procps
  preflight_have xlsfonts x11-utils
  preflight_display
}

preflight_win32() {
  preflight_have osslsigncode osslsigncode
  preflight_have openssl openssl
  preflight_need "wine" "wine and wine32:i386" wine --version
  # xvfb-run, which the window test starts, needs xauth for its display.
  preflight_need "xvfb-run with xauth" xauth xvfb-run -a true
  # Wine falls back to English in a locale that was never generated, and the
  # tests of other code pages would then test nothing.
  local l
  for l in ru_RU ja_JP en_US; do
    locale -a 2>/dev/null | grep -qix "$l.utf8" ||
      preflight_missing+=("the locale $l.UTF-8: generate it (scripts/bootstrap does)")
  done
}

preflight_fuzz() {
  local probe
  probe="$(mktemp -d)"
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    >"$probe/probe.cpp"
  preflight_need "clang with libFuzzer" "clang and libclang-rt-14-dev" \
    clang++ -fsanitize=fuzzer,address "$probe/probe.cpp" -o "$probe/probe"
  rm -rf "$probe"
}

preflight() {  # stage...
  local stage host=0 win32=0 fuzz=0
  for stage in "$@"; do
    case "$stage" in
      host | asan) host=1 ;;
      win32) host=1 win32=1 ;;
      fuzz) fuzz=1 ;;
    esac
  done
  preflight_missing=()
  preflight_build
  [ "$host" -eq 0 ] || preflight_host
  [ "$win32" -eq 0 ] || preflight_win32
  [ "$fuzz" -eq 0 ] || preflight_fuzz
  [ "${#preflight_missing[@]}" -gt 0 ] || return 0
  printf 'scripts/check: this machine cannot run the tests yet:\n' >&2
  printf '  %s\n' "${preflight_missing[@]}" >&2
  return 1
}
