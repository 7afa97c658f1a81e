#!/usr/bin/env bash
# Installing a package of about 200 MB of mixed files with `kpack install` (the
# setup's own install pass), against unzip of the same files zipped at level 9.
# Prints both wall times (hyperfine, 3 runs), their ratio and each peak memory.
#
#   bench/install_vs_unzip.sh [BUILD]     BUILD: a Release build folder (build/rel)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${1:-$root/build/rel}")"
if [ ! -x "$build/bin/kpack" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" --target kpack >/dev/null
fi
kpack="$build/bin/kpack"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
payload="$work/payload"
mkdir -p "$payload"

# The payload: incompressible, text-like and sparse files of several sizes.
for i in $(seq 1 30); do head -c $((2 * 1024 * 1024)) /dev/urandom >"$payload/random$i.bin"; done
for i in $(seq 1 30); do
  seq $((i * 100000)) $((i * 100000 + 330000)) | sed 's/$/ kestrane install benchmark line/' |
    head -c $((2 * 1024 * 1024)) >"$payload/text$i.log" || true  # head closes the pipe early
done
for i in $(seq 1 600); do head -c 2048 /dev/urandom | base64 >"$payload/small$i.txt"; done
head -c $((20 * 1024 * 1024)) /dev/zero >"$payload/sparse.dat"
head -c $((16 * 1024 * 1024)) /dev/urandom | base64 >"$payload/encoded.b64"
head -c $((40 * 1024 * 1024)) /dev/urandom >"$payload/archive.bin"
echo "payload: $(du -sb "$payload" | cut -f1) bytes in $(ls "$payload" | wc -l) files"

# Pictures and licence the manifest needs.
convert -size 164x314 gradient:navy-white "$work/side.jpg"
convert -size 49x49 xc:steelblue "$work/logo.jpg"
echo "Benchmark licence" >"$work/licence.txt"
{
  printf '[product]\nname = "Benchmark"\ncompany = "Kestrane"\ninstall-folder = "Benchmark"\n'
  printf '[pictures]\nside = "side.jpg"\nlogo = "logo.jpg"\n[licence]\nfile = "licence.txt"\n'
  for f in "$payload"/*; do printf '[[items]]\nsource = "payload/%s"\n' "$(basename "$f")"; done
} >"$work/manifest.toml"

time_build_start=$(date +%s.%N)
"$kpack" build "$work/manifest.toml" -o "$work/package.bin"
echo "kpack build: $(echo "$(date +%s.%N) - $time_build_start" | bc) s, package $(stat -c %s "$work/package.bin") bytes"
(cd "$payload" && zip -q -9 -r "$work/payload.zip" .)
echo "zip -9: $(stat -c %s "$work/payload.zip") bytes"

hyperfine --runs 3 --warmup 1 --export-json "$work/times.json" \
  --prepare "rm -rf '$work/prefix' '$work/unzipped'" \
  -n "kpack install" "'$kpack' install '$work/package.bin' --prefix '$work/prefix' >/dev/null" \
  -n "unzip" "unzip -q '$work/payload.zip' -d '$work/unzipped'"

rm -rf "$work/prefix" "$work/unzipped"
kpack_kb=$(/usr/bin/time -f %M "$kpack" install "$work/package.bin" --prefix "$work/prefix" 2>&1 >/dev/null | tail -1)
unzip_kb=$(/usr/bin/time -f %M unzip -q "$work/payload.zip" -d "$work/unzipped" 2>&1 | tail -1)
python3 - "$work/times.json" "$kpack_kb" "$unzip_kb" <<'PY'
import json, sys
results = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
k, u = results["kpack install"], results["unzip"]
print(f"kpack install {k:.3f} s, unzip {u:.3f} s, ratio {k / u:.2f}")
print(f"peak memory: kpack install {int(sys.argv[2]) / 1024:.1f} MiB, unzip {int(sys.argv[3]) / 1024:.1f} MiB")
PY
