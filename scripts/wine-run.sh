#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix of its architecture.
# Usage: scripts/wine-run.sh win32|win64 PROGRAM [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
arch="$1"; shift
case "$arch" in
  win32) loader=/usr/bin/wine ;;
  win64) loader=/usr/lib/wine/wine64 ;;
  *) echo "wine-run: unknown architecture $arch" >&2; exit 2 ;;
esac
export WINEPREFIX="$here/build/$arch/wineprefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -f "$WINEPREFIX/.vantiq-ready" ] || "$here/scripts/wine-prefix.sh" "$arch"
exec "$loader" "$@"
