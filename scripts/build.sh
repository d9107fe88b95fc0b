#!/usr/bin/env bash
# Builds the three trees from one source: build/native, build/win32, build/win64.
# Usage: scripts/build.sh [native|win32|win64 ...]   (default: all three)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="${VANTIQ_JOBS:-2}"
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native win32 win64)

for tree in "${trees[@]}"; do
  dir="$here/build/$tree"
  case "$tree" in
    native) toolchain=() ;;
    win32) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake") ;;
    win64) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64.cmake") ;;
    *) echo "build: unknown tree $tree" >&2; exit 2 ;;
  esac
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$here" -B "$dir" -G Ninja "${toolchain[@]}" >/dev/null
  fi
  echo "build: $tree"
  cmake --build "$dir" -j "$jobs"
done
