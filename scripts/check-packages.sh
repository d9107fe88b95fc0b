#!/usr/bin/env bash
# Builds the packages and checks them under Wine in prefixes of their own
# (build/pkgcheck/win32, build/pkgcheck/win64): the installers install, upgrade, refuse a
# downgrade and uninstall to nothing; what they write equals what regsvr32 writes; the zip
# holds what it should and works with nothing registered.
# Usage: scripts/check-packages.sh   (prints one line per check and "packages: N passed, M failed")
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
work="$here/build/pkgcheck"
version="$(head -n1 VERSION)"
# The next build number: a package that must replace this version's.
newer="${version%.*}.$((${version##*.} + 1))"
passed=0
failed=0

# check NAME COMMAND...: one check, counted.
check() {
  local name="$1"; shift
  if "$@"; then
    echo "ok      $name"; passed=$((passed + 1))
  else
    echo "FAILED  $name"; failed=$((failed + 1))
  fi
}

finish() {
  echo "packages: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

mkdir -p "$work"
scripts/package.sh --version "$newer" --out "$work/newer" >/dev/null 2>"$work/package.log" &&
  scripts/package.sh >/dev/null 2>>"$work/package.log"
check "package.sh builds both installers and the zip" \
  test -f "dist/VantiqCtl-$version-x86.msi" -a -f "dist/VantiqCtl-$version-x64.msi" -a -f "dist/VantiqCtl-$version.zip" \
  -a -f "$work/newer/VantiqCtl-$newer-x86.msi" -a -f "$work/newer/VantiqCtl-$newer-x64.msi"
[ "$failed" -eq 0 ] || { tail -n 20 "$work/package.log"; finish; }

# --- The zip ---------------------------------------------------------------------------
unzipped="$work/unzipped"
rm -rf "$unzipped"
unzip -q "dist/VantiqCtl-$version.zip" -d "$unzipped"
expected_zip="INSTALL.txt
examples/readme_example.cpp
examples/readme_example.html
examples/readme_example.js
examples/readme_example.vbs
include/VantiqCtl.h
include/VantiqCtl_i.c
x64/VantiqCtl.client.manifest
x64/VantiqCtl.dll
x64/VantiqCtl.sxs.manifest
x86/VantiqCtl.client.manifest
x86/VantiqCtl.dll
x86/VantiqCtl.sxs.manifest"
check "the zip holds exactly the DLLs, manifests, header, examples and INSTALL.txt" \
  test "$(cd "$unzipped" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)" = "$expected_zip"

# A DLL's machine field (PE header: 0x14c i386, 0x8664 x86-64) and its version resource.
machine_of() { python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read(); o = struct.unpack_from("<I", d, 0x3c)[0]; print(hex(struct.unpack_from("<H", d, o + 4)[0]))' "$1"; }
check "x86/VantiqCtl.dll is a 32-bit DLL" test "$(machine_of "$unzipped/x86/VantiqCtl.dll")" = 0x14c
check "x64/VantiqCtl.dll is a 64-bit DLL" test "$(machine_of "$unzipped/x64/VantiqCtl.dll")" = 0x8664
file_version_of() { strings -el "$1" | grep -A1 -x FileVersion | tail -n1; }
for arch in x86 x64; do
  check "$arch/VantiqCtl.dll says version $version.0" test "$(file_version_of "$unzipped/$arch/VantiqCtl.dll")" = "$version.0"
  check "$arch manifests name assembly version $version.0 for their architecture" \
    grep -q "version=\"$version.0\"" "$unzipped/$arch/VantiqCtl.sxs.manifest" -a \
    "$(grep -c "version=\"$version.0\"" "$unzipped/$arch/VantiqCtl.client.manifest")" = 1
done
check "the manifests name x86 and amd64" \
  test "$(grep -ho 'processorArchitecture="[^"]*"' "$unzipped"/x86/*.manifest "$unzipped"/x64/*.manifest | sort | uniq -c | tr -s ' ')" \
  = "$(printf ' 2 processorArchitecture="amd64"\n 2 processorArchitecture="x86"')"

# --- Under Wine ------------------------------------------------------------------------
# shellcheck source=scripts/xvfb.sh
source "$here/scripts/xvfb.sh"
start_xvfb || exit 1
trap stop_xvfb EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine32=/usr/bin/wine
wine64=/usr/lib/wine/wine64

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
flush() { wineserver -w; }
# snap NAME [FOLDER=TOKEN...]: the prefix's classes into PREFIX.NAME.txt beside it.
snap() { local name="$1"; shift; flush; scripts/registry-snapshot.py "$WINEPREFIX" "$@" >"$WINEPREFIX.$name.txt"; }
# same_keys A B: two snapshots are equal, or the lines that differ are shown.
same_keys() {
  diff "$WINEPREFIX.$1.txt" "$WINEPREFIX.$2.txt" >"$WINEPREFIX.diff.txt" && return 0
  grep '^[<>]' "$WINEPREFIX.diff.txt" | sed "s/^</        only $1:/; s/^>/        only $2:/" | head -n 40
  return 1
}
# Any trace of the control's names in the prefix's registry, the installers' records included.
traces() { flush; grep -i -c -E 'vantiq|8CFEF030-6B4C|B794E00F-7119|F8FF12FB-C6F7' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" | awk -F: '{s += $2} END {print s + 0}'; }
product_code() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" {print $2}'; }
installed_product() { flush; grep -q -i -F "Uninstall\\\\$(product_code "$1")]" "$WINEPREFIX/system.reg"; }
same_file() { cmp -s "$1" "$2"; }
# sole_product NEW OLD: NEW's product is installed and OLD's is not.
sole_product() { installed_product "$1" && ! installed_product "$2"; }
# run_script LOADER CSCRIPT FILE EXPECTED: cscript exits 0 even after a script error, so
# the output itself must match.
run_script() {
  local out; out="$("$1" "$2" //nologo "$(windows_path "$3")" 2>/dev/null | tr -d '\r')"
  [ "$out" = "$4" ] || { echo "        printed: $out"; return 1; }
}
# A prefix that has never held the control: made once, made again if a run left traces.
fresh_prefix() {
  export WINEPREFIX="$work/$1"
  if [ -f "$WINEPREFIX/.vantiq-ready" ] && [ "$(traces)" -ne 0 ]; then rm -rf "$WINEPREFIX"; fi
  scripts/wine-prefix.sh "$1" "$WINEPREFIX" >/dev/null
}

vbs_output="$(printf '200 0.0 255 2\n387')"
js_output="200 0.0 255"

# check_prefix TREE ARCH...: installs ARCH's packages in order into TREE's prefix and
# checks them; the first ARCH also goes through the same-version, upgrade and downgrade cases.
check_prefix() {
  local tree="$1"; shift
  local arches=("$@") arch msiexec
  fresh_prefix "$tree"
  echo "== packages in a $tree prefix: ${arches[*]}"
  if [ "$tree" = win32 ]; then msiexec=$wine32; else msiexec=$wine64; fi
  declare -A folder_of cscript_of loader_of tree_of=([x86]=win32 [x64]=win64)
  for arch in "${arches[@]}"; do
    if [ "$arch" = x86 ] && [ "$tree" = win64 ]; then
      folder_of[$arch]="C:\\Program Files (x86)\\Vantiq"; cscript_of[$arch]='C:\windows\syswow64\cscript.exe'
    else
      folder_of[$arch]="C:\\Program Files\\Vantiq"; cscript_of[$arch]='C:\windows\system32\cscript.exe'
    fi
    if [ "$arch" = x86 ]; then loader_of[$arch]=$wine32; else loader_of[$arch]=$wine64; fi
  done
  local unix_folder
  unix_of() { printf '%s/drive_c/%s' "$WINEPREFIX" "$(printf '%s' "${1#C:\\}" | tr '\\' /)"; }

  # Registration-free first, while the prefix holds nothing: each unzipped folder with the
  # test program beside it, named by the client manifest.
  for arch in "${arches[@]}"; do
    local free="$work/free-$tree-$arch"
    rm -rf "$free"; cp -r "$unzipped/$arch" "$free"
    cp "build/release-${tree_of[$arch]}/bin/vantiq_registration_free_tests.exe" "$free/"
    cp "$free/VantiqCtl.client.manifest" "$free/vantiq_registration_free_tests.exe.manifest"
    check "$arch zip folder creates the control unregistered (registration-free tests)" \
      bash -c '"$1" "$2" --gtest_brief=1 >"$3" 2>&1 || { tr -d "\r" <"$3" | tail -n 30; exit 1; }' _ \
      "${loader_of[$arch]}" "$free/vantiq_registration_free_tests.exe" "$free.log"
  done

  # Each script host registers its own type library when it first runs: before the baseline.
  : >"$work/empty.vbs"
  for arch in "${arches[@]}"; do "${loader_of[$arch]}" "${cscript_of[$arch]}" //nologo "$(windows_path "$work/empty.vbs")" >/dev/null 2>&1; done
  snap baseline
  for arch in "${arches[@]}"; do
    local msi="dist/VantiqCtl-$version-$arch.msi"
    check "$arch: msiexec /i installs" "$msiexec" msiexec /i "$(windows_path "$here/$msi")" /qn
    check "$arch: the installed DLL is the zip's" same_file "$(unix_of "${folder_of[$arch]}")/VantiqCtl.dll" "$unzipped/$arch/VantiqCtl.dll"
    check "$arch: VBScript through $arch cscript creates it by ProgID" \
      run_script "${loader_of[$arch]}" "${cscript_of[$arch]}" "$unzipped/examples/readme_example.vbs" "$vbs_output"
    check "$arch: JScript through $arch cscript creates it by ProgID" \
      run_script "${loader_of[$arch]}" "${cscript_of[$arch]}" "$unzipped/examples/readme_example.js" "$js_output"
  done
  local maps=()
  for arch in "${arches[@]}"; do maps+=("${folder_of[$arch]}=<$arch folder>"); done
  snap installed "${maps[@]}"

  # Windows Installer's rules, on the last package installed (each package rewrites the
  # type library's shared HELPDIR with its own folder): the same package again is a
  # maintenance run that changes nothing; a newer version replaces it (the older product
  # is removed); an older one after a newer is refused and leaves the newer in place.
  local first="${arches[-1]}"
  local old="dist/VantiqCtl-$version-$first.msi" new="$work/newer/VantiqCtl-$newer-$first.msi"
  check "$first: the same package again succeeds" "$msiexec" msiexec /i "$(windows_path "$here/$old")" /qn
  snap again "${maps[@]}"
  check "$first: the same package again changes no key" same_keys installed again
  check "$first: $newer installs over $version" "$msiexec" msiexec /i "$(windows_path "$new")" /qn
  snap upgraded "${maps[@]}"
  check "$first: $newer replaced $version: one product" sole_product "$new" "$here/$old"
  check "$first: $newer replaced $version: the newer DLL" \
    same_file "$(unix_of "${folder_of[$first]}")/VantiqCtl.dll" "$here/build/package-stage/$newer/$first/VantiqCtl.dll"
  check "$first: $newer replaced $version: the same keys" same_keys installed upgraded
  check "$first: $version after $newer is refused" \
    bash -c '! "$1" msiexec /i "$2" /qn' _ "$msiexec" "$(windows_path "$here/$old")"
  snap refused "${maps[@]}"
  check "$first: after the refused downgrade: $newer alone is installed" sole_product "$new" "$here/$old"
  check "$first: after the refused downgrade: the newer DLL" \
    same_file "$(unix_of "${folder_of[$first]}")/VantiqCtl.dll" "$here/build/package-stage/$newer/$first/VantiqCtl.dll"
  check "$first: after the refused downgrade: the same keys" same_keys installed refused

  check "$first: msiexec /x removes $newer" "$msiexec" msiexec /x "$(windows_path "$new")" /qn
  for arch in "${arches[@]}"; do
    [ "$arch" = "$first" ] && continue
    check "$arch: still created by ProgID after the other package is removed" \
      run_script "${loader_of[$arch]}" "${cscript_of[$arch]}" "$unzipped/examples/readme_example.vbs" "$vbs_output"
    check "$arch: msiexec /x removes it" "$msiexec" msiexec /x "$(windows_path "$here/dist/VantiqCtl-$version-$arch.msi")" /qn
  done
  snap uninstalled
  check "uninstalled: the classes are as before the installs" same_keys baseline uninstalled
  check "uninstalled: no key or value names the control" test "$(traces)" -eq 0
  local leftovers=0
  for arch in "${arches[@]}"; do [ -e "$(unix_of "${folder_of[$arch]}")" ] && leftovers=1; done
  check "uninstalled: no folder of the control is left" test "$leftovers" -eq 0

  # What DllRegisterServer writes, from the zip's DLLs. RegisterTypeLib keeps the HELPDIR of
  # the library's first registration where an installer writes its own, so register in the
  # reverse order of the installs: both end with the last architecture's folder.
  maps=()
  local reversed=()
  for arch in "${arches[@]}"; do reversed=("$arch" "${reversed[@]}"); maps+=("$(windows_path "$unzipped/$arch")=<$arch folder>"); done
  for arch in "${reversed[@]}"; do
    check "$arch: regsvr32 registers the zip's DLL" \
      "${loader_of[$arch]}" regsvr32 /s "$(windows_path "$unzipped/$arch/VantiqCtl.dll")"
  done
  snap registered "${maps[@]}"
  # Keys only the installers write are listed as "only installed", keys only regsvr32
  # writes as "only registered".
  check "${arches[*]}: the installers write exactly what regsvr32 writes" same_keys registered installed
  for arch in "${arches[@]}"; do
    "${loader_of[$arch]}" regsvr32 /s /u "$(windows_path "$unzipped/$arch/VantiqCtl.dll")"
  done
  flush
}

# The registration-free test program, built beside the release DLLs.
for tree in win32 win64; do
  cmake --build "build/release-$tree" -j "${VANTIQ_JOBS:-2}" --target vantiq_registration_free_tests >/dev/null ||
    { echo "FAILED  building the registration-free tests ($tree)"; failed=$((failed + 1)); finish; }
done

check_prefix win32 x86
check_prefix win64 x86 x64
finish
