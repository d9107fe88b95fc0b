#!/usr/bin/env bash
# Builds optimised trees and runs the benchmarks: vantiq-bench.exe under Wine (the control
# through COM against the system progress bars, and its memory) and the native suites.
# The Windows program runs twice: as Wine's default Windows version, and as Windows 10
# (vantiq-bench-win10.exe, whose manifest declares it, with Wine's AppDefaults version).
# Usage: scripts/bench.sh [win32|win64|native ...]   (default: win32 native)
#   VANTIQ_BENCH_ROUNDS (15) and VANTIQ_BENCH_UPDATES (100) size the Windows run;
#   VANTIQ_BENCH_MIN_TIME (0.2) is each native benchmark's minimum time in seconds.
# Nothing is registered: vantiq-bench loads VantiqCtl.dll from beside itself.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
jobs="${VANTIQ_JOBS:-1}"
targets=("$@")

# build DIR TARGET: quiet unless it fails.
build() {
  local log
  log="$(mktemp)"
  if ! cmake --build "$1" -j "$jobs" --target "$2" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
}
[ ${#targets[@]} -gt 0 ] || targets=(win32 native)

for target in "${targets[@]}"; do
  case "$target" in
    win32|win64)
      dir="build/bench-$target"
      if [ "$target" = win32 ]; then
        toolchain=cmake/mingw-i686.cmake; loader=/usr/bin/wine
      else
        toolchain=cmake/mingw-x86_64.cmake; loader=/usr/lib/wine/wine64
      fi
      [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/$toolchain" >/dev/null
      build "$dir" vantiq-bench
      build "$dir" vantiq-bench-win10
      # A prefix of the bench's own, copied from the project's.
      if [ ! -f "$dir/wineprefix/.vantiq-ready" ]; then
        scripts/wine-prefix.sh "$target"
        rm -rf "$dir/wineprefix"
        cp -a "build/$target/wineprefix" "$dir/wineprefix"
      fi
      # shellcheck source=scripts/xvfb.sh
      source scripts/xvfb.sh
      start_xvfb
      wine_run=(env WINEPREFIX="$here/$dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$loader")
      # Read once at the program's start; with the display up, so that the wineserver it
      # starts can show windows.
      "${wine_run[@]}" reg add 'HKCU\Software\Wine\AppDefaults\vantiq-bench-win10.exe' /v Version /d win10 /f \
        >/dev/null 2>&1
      status=0
      for program in vantiq-bench vantiq-bench-win10; do
        as="Wine's default version"
        [ "$program" = vantiq-bench-win10 ] && as="as win10"
        echo "== $program ($target, Wine $(wine --version 2>/dev/null | sed 's/^wine-//'), $as)"
        set +e  # a failed run still stops its display below
        "${wine_run[@]}" "$dir/bin/$program.exe" --rounds "${VANTIQ_BENCH_ROUNDS:-15}" \
          --updates "${VANTIQ_BENCH_UPDATES:-100}" | tr -d '\r'
        status=${PIPESTATUS[0]}
        set -e
        [ "$status" -eq 0 ] || break
        echo
      done
      WINEPREFIX="$here/$dir/wineprefix" wineserver -w 2>/dev/null || true  # before its display goes
      stop_xvfb
      [ "$status" -eq 0 ] || { echo "bench: $program failed ($status)" >&2; exit 1; }
      ;;
    native)
      dir=build/bench
      [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DVANTIQ_SANITIZE=OFF >/dev/null
      build "$dir" vantiq_bench
      echo "== native suites"
      "$dir/bin/vantiq_bench" --benchmark_min_time="${VANTIQ_BENCH_MIN_TIME:-0.2}"
      ;;
    *) echo "bench: unknown target $target" >&2; exit 2 ;;
  esac
done
