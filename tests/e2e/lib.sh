# Sourced by the end-to-end and robustness drivers: the shared libraries of
# scripts/lib (Wine, starting the program, X11), and what only these drivers
# need: a Wine prefix kept running for a driver, snapshots of a Wine machine for
# compare-install, and a look into the registry of either machine.
# shellcheck shell=bash

e2e_lib="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib" && pwd)"
# shellcheck source=../../scripts/lib/wine.sh
. "$e2e_lib/wine.sh"
# shellcheck source=../../scripts/lib/target.sh
. "$e2e_lib/target.sh"
# shellcheck source=../../scripts/lib/x11.sh
. "$e2e_lib/x11.sh"

# Makes (unless it is there) the 32-bit Wine prefix $1 for the programs this
# script starts, with $2 as HOME, and keeps its server running until wine_stop.
e2e_wine_prefix() {
  wine_env "$1" "$2"
  wine_prefix || e2e_fail "Wine made no prefix in $WINEPREFIX"
  wine_keep_server || e2e_fail "the Wine server did not start"
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

# "key<TAB>name<TAB>data" of every value of the export $1 at or below key $2
# (the whole file without one), as kpack registry reads it: keys in full, the
# default value's name empty, a DWORD as 0x..., the texts of a list a blank
# apart. KESTRANE_KPACK names kpack.
e2e_registry_values() {
  "${KESTRANE_KPACK:?names no kpack}" registry "$@" | python3 -c 'import json, sys
for key in json.load(sys.stdin)["keys"]:
    for value in key["values"]:
        data = value["data"]
        if value["type"] == "REG_DWORD":
            data = "0x%x" % data
        elif isinstance(data, list):
            data = " ".join(data)
        print("%s\t%s\t%s" % (key["key"], value["name"], data))'
}

# True when some value at or below registry key $1 (HKLM\...) holds the text $2:
# read with Wine's registry tool when e2e_wine_prefix chose a prefix, else from
# the host prefix's registry file.
e2e_registry_has() {
  if [ -n "${WINEPREFIX:-}" ]; then
    # grep reads to the end: with -q it would stop early and fail the pipe.
    timeout 60 wine reg query "$1" /s 2>/dev/null | tr -d '\r' | grep -F "$2" >/dev/null
  else
    [ -f "$KESTRANE_PREFIX/registry.reg" ] || return 1
    e2e_registry_values "$KESTRANE_PREFIX/registry.reg" "$1" | cut -f2- | grep -F "$2" >/dev/null
  fi
}

# The text the setup shows for catalogue key $1 (src/texts/TextCatalog.cpp) to a
# user of locale $2 (LC_ALL's form, de_DE.UTF-8): in the shipped language of the
# locale's language, else in our English. The setup under test must carry that
# language, as the demo carries every shipped one.
e2e_text() {
  python3 - "$1" "$2" "$(dirname "${BASH_SOURCE[0]}")/../.." <<'PY'
import ast, pathlib, re, sys, tomllib
key, locale, root = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
language = re.split(r"[._@]", locale)[0]
for tag in (locale.split(".")[0].replace("_", "-"), language):
    path = root / "tools/kpack/languages" / f"{tag}.toml"
    if path.is_file():
        print(tomllib.loads(path.read_text(encoding="utf-8"))[key])
        sys.exit(0)
catalog = (root / "src/texts/TextCatalog.cpp").read_text(encoding="utf-8")
entry = re.search(r'\{\w+, "' + re.escape(key) + r'",((?:\s*"(?:[^"\\]|\\.)*")+)\}', catalog)
if entry is None:
    sys.exit("no text has the key " + key)
text = "".join(ast.literal_eval(s) for s in re.findall(r'"(?:[^"\\]|\\.)*"', entry.group(1)))
print(text.encode("latin-1").decode("cp1252"))
PY
}
