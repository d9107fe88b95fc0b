#!/usr/bin/env bash
# Registers the built control in the private Wine prefix of its tree, or removes it.
# Usage: scripts/register.sh win32|win64 [--unregister]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
arch="${1:-}"
case "$arch" in
  win32|win64) ;;
  *) echo "usage: scripts/register.sh win32|win64 [--unregister]" >&2; exit 2 ;;
esac
dll="$here/build/$arch/bin/VantiqCtl.dll"
[ -f "$dll" ] || { echo "register: $dll is not built (scripts/build.sh $arch)" >&2; exit 1; }
# Wine reaches the Linux file system through drive Z:.
windows_path="Z:${dll//\//\\}"
if [ "${2:-}" = "--unregister" ]; then
  "$here/scripts/wine-run.sh" "$arch" regsvr32 /s /u "$windows_path"
  echo "register: VantiqCtl.dll ($arch) unregistered"
else
  "$here/scripts/wine-run.sh" "$arch" regsvr32 /s "$windows_path"
  echo "register: VantiqCtl.dll ($arch) registered as VantiqCtl.Vantiq"
fi
