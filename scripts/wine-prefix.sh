#!/usr/bin/env bash
# Creates (once) the private Wine prefix of one architecture: build/<arch>/wineprefix.
# Usage: scripts/wine-prefix.sh win32|win64 [FOLDER]   (FOLDER: another prefix, such as the
# installers' checks keep for themselves)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
arch="$1"
prefix="${2:-$here/build/$arch/wineprefix}"
stamp="$prefix/.vantiq-ready"
alias_stamp="$prefix/.vantiq-font-alias"
[ -f "$stamp" ] && [ -f "$alias_stamp" ] && exit 0

case "$arch" in
  win32) loader=/usr/bin/wine ;;
  win64) loader=/usr/lib/wine/wine64 ;;
  *) echo "wine-prefix: unknown architecture $arch" >&2; exit 2 ;;
esac

mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# A font known only by a Cyrillic alias, for the tests of caption fonts named outside
# ASCII. A UTF-16 .reg file keeps the name whatever the shell's locale.
add_font_alias() {
  local reg="$prefix/font-alias.reg"
  { printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n"\xd0\xa8\xd1\x80\xd0\xb8\xd1\x84\xd1\x82"="DejaVu Serif"\r\n' |
      iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  "$loader" regedit /S "$reg" >/dev/null 2>&1
  rm -f "$reg"
  "${WINESERVER:-wineserver}" -w >/dev/null 2>&1 || true
  touch "$alias_stamp"
}
if [ -f "$stamp" ]; then
  add_font_alias
  exit 0
fi

echo "setup: creating Wine prefix $prefix"
"$loader" wineboot -i >/dev/null 2>&1 || true
# A virtual desktop keeps DestroyWindow of top-level windows fast without a window manager.
"$loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
# Debian's Wine does not find its own Tahoma unless the files sit in the prefix.
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
for f in tahoma.ttf tahomabd.ttf; do
  [ -f "/usr/share/wine/fonts/$f" ] && cp -f "/usr/share/wine/fonts/$f" "$fonts/"
done
"${WINESERVER:-wineserver}" -w >/dev/null 2>&1 || true
add_font_alias
touch "$stamp"
