#!/usr/bin/env bash
# Builds the release DLLs of both architectures and, from them, what a Windows developer
# downloads: VantiqCtl-<version>-x86.msi, VantiqCtl-<version>-x64.msi and VantiqCtl-<version>.zip.
# Usage: scripts/package.sh [--version X.Y.Z] [--out DIR]   (defaults: VERSION, dist/)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="${VANTIQ_JOBS:-2}"
version="$(head -n1 "$here/VERSION")"
out="$here/dist"
while [ $# -gt 0 ]; do
  case "$1" in
    --version) version="$2"; shift 2 ;;
    --out) out="$2"; shift 2 ;;
    *) echo "usage: scripts/package.sh [--version X.Y.Z] [--out DIR]" >&2; exit 2 ;;
  esac
done
# Windows Installer compares three fields: major and minor up to 255, build up to 65535.
if ! [[ "$version" =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] || [ "${BASH_REMATCH[1]}" -gt 255 ] ||
   [ "${BASH_REMATCH[2]}" -gt 255 ] || [ "${BASH_REMATCH[3]}" -gt 65535 ]; then
  echo "package: $version is not a version Windows Installer accepts (X.Y.Z)" >&2
  exit 2
fi
mkdir -p "$out"
out="$(cd "$out" && pwd)"
stage="$here/build/package-stage/$version"
rm -rf "$stage"
mkdir -p "$stage/include" "$stage/examples"

for tree in win32 win64; do
  case "$tree" in
    win32) arch=x86; toolchain=mingw-i686; strip=i686-w64-mingw32-strip ;;
    win64) arch=x64; toolchain=mingw-x86_64; strip=x86_64-w64-mingw32-strip ;;
  esac
  build="$here/build/release-$tree"
  echo "package: VantiqCtl.dll $version ($arch)"
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/$toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVANTIQ_VERSION="$version" >/dev/null
  cmake --build "$build" -j "$jobs" --target VantiqCtl >/dev/null
  mkdir -p "$stage/$arch"
  "$strip" -o "$stage/$arch/VantiqCtl.dll" "$build/bin/VantiqCtl.dll"
  cp "$build/bin/VantiqCtl.sxs.manifest" "$build/bin/VantiqCtl.client.manifest" "$stage/$arch/"
  cp "$build/src/activex/generated/VantiqCtl.h" "$build/src/activex/generated/VantiqCtl_i.c" "$stage/include/"

  # One product code per architecture and version: the same package rebuilt is the same
  # product, and each version is a new one that the MajorUpgrade replaces.
  product_code="$(python3 -c 'import sys, uuid; print("{%s}" % str(uuid.uuid5(uuid.NAMESPACE_URL, "vantiq-control/" + sys.argv[1])).upper())' "$arch/$version")"
  (cd "$stage" && wixl -a "$arch" -D Arch="$arch" -D Version="$version" -D ProductCode="$product_code" \
    -D DllFolder="$arch" -o "$out/VantiqCtl-$version-$arch.msi" "$here/packaging/VantiqCtl.wxs")
done

cp "$here"/docs/examples/readme_example.* "$stage/examples/"
cp "$here/packaging/INSTALL.txt" "$stage/"
rm -f "$out/VantiqCtl-$version.zip"
(cd "$stage" && zip -qrX "$out/VantiqCtl-$version.zip" INSTALL.txt x86 x64 include examples)
echo "package: $(cd "$out" && echo VantiqCtl-"$version"*) in $out"
