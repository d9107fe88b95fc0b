#!/usr/bin/env bash
# Runs a Windows program under Wine as one Windows version Wine can report. A copy of
# the program beside it, NAME-VERSION.exe, gets Wine's AppDefaults key for that version
# (read once at process start); the copy finds what the original finds in its folder.
# VERSION: win98 winme win2k winxp win2003 vista win7 win10, or win10m: Windows 10 for a
# copy whose manifest declares it, so that it sees 10.0 instead of 6.2.
# Usage: scripts/as-version.sh win32|win64 VERSION PROGRAM [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 3 ]; then
  echo "usage: $0 win32|win64 VERSION PROGRAM [ARGS...]" >&2
  exit 2
fi
arch="$1" version="$2" program="$3"
shift 3
case "$version" in
  win98|winme|win2k|winxp|win2003|vista|win7|win10|win10m) ;;
  *) echo "as-version: unknown version $version" >&2; exit 2 ;;
esac
copy="${program%.exe}-$version.exe"
cp -f "$program" "$copy"
wine_version="$version"
rm -f "$copy.manifest"
if [ "$version" = win10m ]; then
  wine_version=win10
  # An external manifest declaring Windows 10 among the supported systems.
  cat >"$copy.manifest" <<'MANIFEST'
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">
    <application>
      <supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>
    </application>
  </compatibility>
</assembly>
MANIFEST
fi
"$here/scripts/wine-run.sh" "$arch" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$copy")" \
  /v Version /d "$wine_version" /f >/dev/null 2>&1
exec "$here/scripts/wine-run.sh" "$arch" "$copy" "$@"
