#!/usr/bin/env bash
# Under Wine, with kinstall (kpack's install pass as a Windows console program):
#  1. packages with hostile names, installed one after another beside another
#     program, write only below the places an install writes, and change nothing
#     of the other program;
#  2. on a Cyrillic system (code page 1251), for a user whose profile folder
#     Windows-1252 cannot name (Иван: Wine names the profile after USER), a
#     package with accented names puts its links for the current user into
#     that profile, through the folder's short name, under their own names;
#  3. a drive that fills up (a small tmpfs mapped as D:, inside a mount namespace
#     so nothing stays mounted) fails the pass with "Write file", never a success.
#
#   wine-install-check KINSTALL.exe WORKDIR [STRIDE]
#
# STRIDE N installs every N-th hostile package (1, the default: all of them).
# KESTRANE_ACCENTED_PACKAGE names the package of 2 (skipped without it).
# The registry exports are read with kpack registry: KESTRANE_KPACK, or the host
# build's.
set -euo pipefail

kinstall="$1"
work="$(realpath -m "$2")"
stride="${3:-1}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
wine_run="$here/../../scripts/wine-run"
kpack="${KESTRANE_KPACK:-$here/../../build/host/bin/kpack}"
export KESTRANE_WINE_ROOT="$work/wine"
prefix="$work/wine/prefix"

skip() {
  echo "wine_install: skipped: $*"
  exit 77
}
fail() {
  echo "wine_install: $*" >&2
  failed=1
}
command -v wine >/dev/null || skip "wine is not installed"

stop_wine() { WINEPREFIX="$prefix" timeout 60 wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
winpath() { local p="${1//\//\\}"; echo "Z:$p"; }

rm -rf "$work"
mkdir -p "$work/packages"
"$wine_run" "$kinstall" write "$(winpath "$work/packages")"

# The machine as lines: "HASH  PATH" for each file and "link:TARGET  PATH" for
# each link under drive_c and the home folder (the desktop links into it), and
# "[KEY]" or "[KEY]|NAME=TYPE:DATA" for HKLM\Software.
snapshot() {  # name
  (cd "$work/wine" && find prefix/drive_c home -type f -print0 | xargs -0 md5sum &&
    find prefix/drive_c home -type l -printf 'link:%l  %p\n') >"$work/$1.files"
  "$wine_run" reg export 'HKLM\Software' "$(winpath "$work/$1.reg")" /y >/dev/null
  "$kpack" registry "$work/$1.reg" | python3 -c 'import json, sys
for key in json.load(sys.stdin)["keys"]:
    print("[%s]" % key["key"])
    for value in key["values"]:
        print("[%s]|%s=%s:%s" % (key["key"], value["name"], value["type"], json.dumps(value["data"])))' |
    LC_ALL=C sort >"$work/$1.keys"
}

for f in evil windows/evil windows/system32/evil/keep.dll "Program Files/evil" b Hostile; do
  mkdir -p "$(dirname "$prefix/drive_c/$f")"
  echo "belongs to someone else" >"$prefix/drive_c/$f"
done
# A Windows console ends its lines in CR LF.
"$wine_run" "$kinstall" install 'C:\Program Files' "$(winpath "$work/packages/other.bin")" |
  tr -d '\r' >"$work/other.log"
grep -qx 'status 0' "$work/other.log" || { cat "$work/other.log"; exit 1; }
snapshot before

packages=()
n=0
while read -r file _; do
  if [ $((n % stride)) -eq 0 ]; then packages+=("$(winpath "$work/packages/$file")"); fi
  n=$((n + 1))
done <"$work/packages/names.txt"
"$wine_run" "$kinstall" install 'C:\Program Files' "${packages[@]}" | tr -d '\r' >"$work/hostile.log"
snapshot after

failed=0
[ "$(grep -c '^status ' "$work/hostile.log")" -eq "${#packages[@]}" ] ||
  fail "kinstall did not finish every package (hostile.log)"

# Files: new or changed only in the install places; the other program's and the
# seeded ones unchanged.
other='Other|otherhelper|/evil|/b$|/Hostile$'
places='^prefix/drive_c/(Program Files|windows/system32|ProgramData/Microsoft/Windows/Start Menu/Programs|users/[^/]+/(Desktop|AppData/Roaming/Microsoft/Windows/Start Menu/Programs))/|^home/Desktop/'
while IFS= read -r line; do
  path="${line#*  }"
  [[ "$path" =~ $places ]] || fail "wrote $path"
  if [[ "$path" =~ $other ]] && sed 's/^[^ ]*  //' "$work/before.files" | grep -qxF "$path"; then
    fail "changed $path"
  fi
done < <(LC_ALL=C comm -13 <(LC_ALL=C sort "$work/before.files") <(LC_ALL=C sort "$work/after.files"))
while IFS= read -r line; do
  path="${line#*  }"
  if [[ "$path" =~ $other ]]; then fail "changed or removed $path"; fi
done < <(LC_ALL=C comm -23 <(LC_ALL=C sort "$work/before.files") <(LC_ALL=C sort "$work/after.files"))

# Keys: only below the classes, the uninstall list, the shell extensions and a
# publisher's own settings (values three keys below Software); nothing of the
# other program's keys changed, removed or added to.
software='[HKEY_LOCAL_MACHINE\Software\'
others='^\[HKEY_LOCAL_MACHINE\\Software\\(Classes\\(\.txt|\.oth|\.oto|Other\.Doc|Applications\\Other\.exe)|Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other Product|Other Vendor)[]\\]'
while IFS= read -r line; do
  [[ "$line" =~ $others ]] && fail "wrote into another program's key: $line"
  key="${line%%]*}"
  rest="${key#"$software"}"
  case "$rest" in
    Classes* | Microsoft\\Windows\\CurrentVersion\\Uninstall* | \
      Microsoft\\Windows\\CurrentVersion\\Shell\ Extensions*) continue ;;
  esac
  [ "$rest" != "$key" ] || { fail "wrote $line"; continue; }
  separators="${rest//[^\\]/}"
  if [[ "$line" == *"]|"* ]]; then
    [ "${#separators}" -eq 2 ] || fail "wrote settings outside a publisher's key: $line"
  else
    [ "${#separators}" -le 2 ] || fail "wrote settings outside a publisher's key: $line"
  fi
done < <(LC_ALL=C comm -13 "$work/before.keys" "$work/after.keys")
while IFS= read -r line; do
  [[ "$line" =~ $others ]] && fail "changed or removed $line"
done < <(LC_ALL=C comm -23 "$work/before.keys" "$work/after.keys")

echo "wine_install: hostile packages: ${#packages[@]} tried," \
  "$(grep -c '^status 0' "$work/hostile.log") installed," \
  "$(grep -c '^status 2' "$work/hostile.log") refused," \
  "$(grep -c '^status 1' "$work/hostile.log") failed with an error"

# A profile named in Cyrillic, in a prefix of its own made for that user.
accented="${KESTRANE_ACCENTED_PACKAGE:-}"
if [ -f "$accented" ]; then
  stop_wine
  profile_root="$work/wine-profile"
  user="Иван"
  (
    export KESTRANE_WINE_ROOT="$profile_root" USER="$user" LOGNAME="$user" LC_ALL=ru_RU.UTF-8
    "$wine_run" "$kinstall" install-user 'C:\Program Files' "$(winpath "$accented")" |
      tr -d '\r' >"$work/profile.log" || true
    WINEPREFIX="$profile_root/prefix" timeout 60 wineserver -k >/dev/null 2>&1 || true
  )
  drive="$profile_root/prefix/drive_c"
  product="Café Müller"
  if ! grep -qx 'status 0' "$work/profile.log"; then
    fail "the accented package did not install for $user: $(cat "$work/profile.log")"
  elif [ ! -d "$drive/users/$user" ]; then
    fail "Wine did not name the profile folder $user: $(ls "$drive/users")"
  else
    for f in "Program Files/$product/Visionneuse Café.exe" \
      "users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$product/$product.lnk" \
      "users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$product/Aide Müller.lnk" \
      "users/$user/Desktop/$product à l'écran.lnk"; do
      [ -f "$drive/$f" ] || fail "not written under its own name: $f"
    done
    echo "wine_install: links for the current user in the profile $user, by its short name"
  fi
else
  echo "wine_install: skipped the profile of another code page: no accented package"
fi

# A full drive. The wineserver opens the files, so it must start inside the
# namespace that holds the mount.
stop_wine
if ! unshare -m --propagation private true 2>/dev/null; then
  echo "wine_install: skipped the full drive: no mount namespace here"
  exit "$failed"
fi
mkdir -p "$work/small"
status=0
unshare -m --propagation private bash -c '
  mount -t tmpfs -o size=256k tmpfs "$1" || exit 99
  ln -sfn "$1" "$2/dosdevices/d:"
  "$3" "$4" install "D:\\" "$5" 2>&1 | tr -d "\r" >"$6"
  WINEPREFIX="$2" timeout 60 wineserver -k >/dev/null 2>&1 || true
' _ "$work/small" "$prefix" "$wine_run" "$kinstall" "$(winpath "$work/packages/full.bin")" \
  "$work/full.log" || status=$?
rm -f "$prefix/dosdevices/d:"
if [ "$status" -eq 99 ]; then
  echo "wine_install: skipped the full drive: tmpfs cannot be mounted here"
  exit "$failed"
fi
grep -qF 'error 3 D:\Demo Product\big.bin' "$work/full.log" ||
  fail "a full drive did not fail with Write file: $(cat "$work/full.log")"
if grep -q 'done 1' "$work/full.log"; then fail "a full drive reported success"; fi
[ -z "$(ls -A "$work/small")" ] || fail "the small drive stayed mounted"
echo "wine_install: a full drive fails with: $(grep '^error' "$work/full.log")"
exit "$failed"
