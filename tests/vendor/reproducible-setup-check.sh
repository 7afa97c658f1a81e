#!/usr/bin/env bash
# The same sources and manifest give the same setup wherever the stub is built:
# a second Windows build tree at another path builds only the stub, and `kpack
# setup` fills both stubs with the demo product; stubs and setups must be equal
# byte for byte. The second tree is kept, so later runs only rebuild what changed.
#
#   reproducible-setup-check SOURCE_DIR BUILD_TYPE HOST_TOOLS KPACK STUB MANIFEST WORKDIR [LAUNCHER]
set -euo pipefail

source_dir="$1" build_type="$2" host_tools="$3" kpack="$4" stub="$5" manifest="$6"
work="$(realpath -m "$7")" launcher="${8:-}"
tree="$work/tree"
mkdir -p "$work"

launch=()
[ -z "$launcher" ] || launch=(-DCMAKE_C_COMPILER_LAUNCHER="$launcher" -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher")
cmake -S "$source_dir" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
  -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw32.cmake" -DKESTRANE_HOST_TOOLS="$host_tools" \
  -DKESTRANE_STUB_BESIDE_TOOLS=OFF "${launch[@]}" >"$work/configure.log" 2>&1 ||
  { tail -n 30 "$work/configure.log"; echo "FAIL: the second tree did not configure" >&2; exit 1; }
cmake --build "$tree" --target kestrane_stub >"$work/build.log" 2>&1 ||
  { tail -n 30 "$work/build.log"; echo "FAIL: the second tree did not build the stub" >&2; exit 1; }
other="$tree/stub/kestrane-stub.exe"

"$kpack" setup "$manifest" --stub "$stub" -o "$work/first.exe"
"$kpack" setup "$manifest" --stub "$other" -o "$work/second.exe"
cmp "$stub" "$other" || { echo "FAIL: the stubs differ" >&2; exit 1; }
cmp "$work/first.exe" "$work/second.exe" || { echo "FAIL: the setups differ" >&2; exit 1; }
echo "ok: stubs built in $(dirname "$(dirname "$stub")") and $tree give the same setup" \
  "($(stat -c %s "$work/first.exe") bytes)"
