#!/usr/bin/env bash
# Sets up the machine, builds the three trees and runs every test suite: natively
# (with sanitizers) and under Wine in both Windows architectures.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

"$here/scripts/setup.sh" || exit 1
"$here/scripts/build.sh" || exit 1

# shellcheck source=scripts/xvfb.sh
source "$here/scripts/xvfb.sh"
start_xvfb || exit 1
trap stop_xvfb EXIT

total_passed=0
total_failed=0
broken=0

# run_suite NAME COMMAND...: runs one GoogleTest program and prints its counts.
run_suite() {
  local name="$1"; shift
  local log; log="$(mktemp)"
  "$@" --gtest_brief=1 >"$log" 2>&1
  local rc=$?
  local passed failed
  passed=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' | tail -n1)
  failed=$(tr -d '\r' <"$log" | sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' | tail -n1)
  passed=${passed:-0}; failed=${failed:-0}
  if [ "$rc" -ne 0 ] || [ "$failed" -ne 0 ] || [ "$passed" -eq 0 ]; then
    tr -d '\r' <"$log" | grep -v '^Running main()' | tail -n 60
    [ "$failed" -eq 0 ] && failed=1 && broken=1
  fi
  printf '%-28s %s passed, %s failed\n' "$name:" "$passed" "$failed"
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  rm -f "$log"
}

echo "== the folders of src/ include each other one way only"
if scripts/check-layers.py; then
  printf '%-28s ran\n' "include layers:"
  total_passed=$((total_passed + 1))
else
  printf '%-28s FAILED\n' "include layers:"
  total_failed=$((total_failed + 1))
fi

echo "== native (address and undefined-behaviour sanitizers)"
run_suite "native core" build/native/bin/vantiq_core_tests

for arch in win32 win64; do
  echo "== $arch under Wine"
  export WINEPREFIX="$here/build/$arch/wineprefix"
  run_suite "$arch core (GDI)" scripts/wine-run.sh "$arch" "build/$arch/bin/vantiq_core_tests.exe"
  if [ -f "build/$arch/bin/vantiq_windows_tests.exe" ]; then
    run_suite "$arch windows" scripts/wine-run.sh "$arch" "build/$arch/bin/vantiq_windows_tests.exe"
    # Once more with Msimg32 turned off: the tests that need it missing run only then.
    WINEDLLOVERRIDES="mscoree,mshtml=;msimg32=d" run_suite "$arch without Msimg32" scripts/wine-run.sh "$arch" \
      "build/$arch/bin/vantiq_windows_tests.exe" --gtest_filter='WithoutMsimg32.*'
    # The real theme as Windows 10 sees it: chunk by chunk, the opaque ones copied.
    if [ "$arch" = win32 ]; then
      run_suite "$arch themed as win10m" scripts/as-version.sh "$arch" win10m \
        "build/$arch/bin/vantiq_windows_tests.exe" --gtest_filter='ThemedRender.*'
    fi
  fi
  if [ -f "build/$arch/bin/vantiq_version_tests.exe" ]; then
    # The same program run as each Windows version Wine can report.
    versions_log="$(mktemp)"
    scripts/test-versions.sh "$arch" "build/$arch" >"$versions_log" 2>&1 || broken=1
    grep -v '^test-versions:' "$versions_log"
    p=$(sed -n 's/.* \([0-9]*\) passed, [0-9]* failed$/\1/p' "$versions_log" | awk '{s += $1} END {print s + 0}')
    f=$(sed -n 's/.* [0-9]* passed, \([0-9]*\) failed$/\1/p' "$versions_log" | awk '{s += $1} END {print s + 0}')
    total_passed=$((total_passed + ${p:-0}))
    total_failed=$((total_failed + ${f:-0}))
    rm -f "$versions_log"
  fi
  if [ -f "build/$arch/bin/vantiq_activex_tests.exe" ]; then
    # The control through COM; the script suite registers it with regsvr32 for its run.
    run_suite "$arch activex" scripts/wine-run.sh "$arch" "build/$arch/bin/vantiq_activex_tests.exe"
    run_suite "$arch activex scripts" scripts/wine-run.sh "$arch" "build/$arch/bin/vantiq_activex_script_tests.exe"
  fi
  if [ -f "build/$arch/bin/vantiq_container_tests.exe" ]; then
    # The control hosted in windows by the project's container and by Wine's ATL host.
    run_suite "$arch activex container" scripts/wine-run.sh "$arch" "build/$arch/bin/vantiq_container_tests.exe"
    # Again as Windows XP, and as Windows 10 for a program whose manifest declares it
    # (today's most common system; Wine's default is Windows 7): painting, activation,
    # messages. The memory test's 20,000 updates run once, above.
    for version in winxp win10m; do
      run_suite "$arch container as $version" scripts/as-version.sh "$arch" "$version" \
        "build/$arch/bin/vantiq_container_tests.exe" --gtest_filter='-UpdateMemoryTest.*'
    done
  fi
  if [ -f "build/$arch/bin/vantiq_registration_free_tests.exe" ]; then
    # Unregistered, through the side-by-side manifests; what accessibility clients read.
    run_suite "$arch registration-free" scripts/wine-run.sh "$arch" "build/$arch/bin/vantiq_registration_free_tests.exe"
    run_suite "$arch accessibility" scripts/wine-run.sh "$arch" "build/$arch/bin/vantiq_accessibility_tests.exe"
  fi
  if [ -f "build/$arch/bin/vantiq_stress_tests.exe" ]; then
    # Hostile callers and handlers, a form under load, saved states in bulk and across arches.
    run_suite "$arch activex stress" scripts/wine-run.sh "$arch" "build/$arch/bin/vantiq_stress_tests.exe"
  fi
done

if [ -f build/win32/bin/vantiq_activex_tests.exe ] && [ -f build/win64/wineprefix/.vantiq-ready ]; then
  # The 32-bit control in a 64-bit prefix: registered in the registry's 32-bit view and
  # driven by the 32-bit script host.
  echo "== win32 control on 64-bit Wine"
  wow64=(env WINEPREFIX="$here/build/win64/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" /usr/bin/wine)
  run_suite "wow64 activex" "${wow64[@]}" build/win32/bin/vantiq_activex_tests.exe
  run_suite "wow64 activex scripts" "${wow64[@]}" build/win32/bin/vantiq_activex_script_tests.exe
  if [ -f build/win32/bin/vantiq_container_tests.exe ]; then
    run_suite "wow64 activex container" "${wow64[@]}" build/win32/bin/vantiq_container_tests.exe
  fi
  if [ -f build/win32/bin/vantiq_registration_free_tests.exe ]; then
    run_suite "wow64 registration-free" "${wow64[@]}" build/win32/bin/vantiq_registration_free_tests.exe
    run_suite "wow64 accessibility" "${wow64[@]}" build/win32/bin/vantiq_accessibility_tests.exe
  fi
  if [ -f build/win32/bin/vantiq_stress_tests.exe ]; then
    # The load and bulk round trips ran in both architectures above; here the hostile
    # callers and the streams saved by either architecture.
    run_suite "wow64 activex stress" "${wow64[@]}" build/win32/bin/vantiq_stress_tests.exe \
      --gtest_filter='Hostile*:ReleaseInEvent.*:RoundTripTest.StreamsSavedByEitherArchitectureLoad'
  fi
fi

# The installers and the zip, built from release trees and checked in prefixes of their own.
echo "== packages: MSI and zip under Wine"
packages_log="$(mktemp)"
scripts/check-packages.sh >"$packages_log" 2>&1
packages_rc=$?
p=$(sed -n 's/^packages: \([0-9]*\) passed, [0-9]* failed$/\1/p' "$packages_log")
f=$(sed -n 's/^packages: [0-9]* passed, \([0-9]*\) failed$/\1/p' "$packages_log")
if [ "$packages_rc" -ne 0 ] || [ -z "$p" ]; then
  grep -v '^ok ' "$packages_log" | grep -v '^packages: ' | tail -n 60
  [ "${f:-0}" -eq 0 ] && f=1 && broken=1
fi
printf '%-28s %s passed, %s failed\n' "packages:" "${p:-0}" "$f"
total_passed=$((total_passed + ${p:-0}))
total_failed=$((total_failed + f))
rm -f "$packages_log"

# The benchmark programs' own checks (the shadow's bytes, the saved keys, the control
# hosted and timed), in a short run each; their figures mean nothing here.
echo "== benchmark programs, one short run each"
run_bench() {
  local name="$1"; shift
  if "$@" >/dev/null 2>&1; then
    printf '%-28s ran\n' "$name:"
    total_passed=$((total_passed + 1))
  else
    printf '%-28s FAILED\n' "$name:"
    total_failed=$((total_failed + 1))
  fi
}
if [ -x build/native/bin/vantiq_bench ]; then
  run_bench "native benchmarks" build/native/bin/vantiq_bench --benchmark_min_time=0.001
fi
if [ -f build/win32/bin/vantiq-bench.exe ]; then
  run_bench "win32 vantiq-bench" scripts/wine-run.sh win32 build/win32/bin/vantiq-bench.exe --rounds 1 --updates 3
fi
if [ -f build/win32/bin/vantiq-bench-win10.exe ]; then
  # Its manifest declares Windows 10; Wine's per-program setting makes the system say so.
  scripts/wine-run.sh win32 reg add 'HKCU\Software\Wine\AppDefaults\vantiq-bench-win10.exe' /v Version /d win10 /f \
    >/dev/null 2>&1
  run_bench "win32 vantiq-bench (win10)" scripts/wine-run.sh win32 build/win32/bin/vantiq-bench-win10.exe --rounds 1 --updates 3
fi

echo "== fuzz targets, ${VANTIQ_FUZZ_SECONDS:-10} s each from the committed corpus"
fuzz_log="$(mktemp)"
scripts/fuzz.sh "${VANTIQ_FUZZ_SECONDS:-10}" >"$fuzz_log" 2>&1 || broken=1
cat "$fuzz_log"
total_passed=$((total_passed + $(grep -c 'no finding$' "$fuzz_log")))
total_failed=$((total_failed + $(grep -c 'FINDING' "$fuzz_log")))
rm -f "$fuzz_log"

echo "== all suites"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ] && [ "$broken" -eq 0 ]
