#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS seconds, starting
# from the committed corpus (new inputs go to a scratch copy, not into the repository).
# Usage: scripts/fuzz.sh SECONDS [target...]   Prints one line per target; exits 1 on a finding.
# VANTIQ_FUZZ_RUNS=N stops each target after N executions instead (SECONDS stays the cap);
# VANTIQ_FUZZ_FLAGS adds libFuzzer options (long runs use -entropic=0 for throughput);
# VANTIQ_FUZZ_DIR builds and runs in another tree, so a long run can go on beside the tests.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:?usage: scripts/fuzz.sh SECONDS [target...]}"; shift
jobs="${VANTIQ_JOBS:-2}"
dir="${VANTIQ_FUZZ_DIR:-$here/build/fuzz}"

if [ ! -f "$dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$here" -B "$dir" -G Ninja -DVANTIQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$here"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build "$dir" -j "$jobs" --target "${targets[@]}" >"$dir/build.log" 2>&1 || {
  tail -n 30 "$dir/build.log" >&2; echo "fuzz: build failed" >&2; exit 1; }

status=0
for t in "${targets[@]}"; do
  scratch="$dir/corpus/$t"; artifacts="$dir/findings/$t/"
  mkdir -p "$scratch" "$artifacts"
  [ -d "$here/fuzz/corpus/$t" ] && cp -n "$here/fuzz/corpus/$t"/* "$scratch"/ 2>/dev/null
  log="$dir/$t.log"
  dict=(); [ -f "$here/fuzz/$t.dict" ] && dict=(-dict="$here/fuzz/$t.dict")
  extra=(); [ -n "${VANTIQ_FUZZ_RUNS:-}" ] && extra+=(-runs="$VANTIQ_FUZZ_RUNS")
  # shellcheck disable=SC2206
  [ -n "${VANTIQ_FUZZ_FLAGS:-}" ] && extra+=($VANTIQ_FUZZ_FLAGS)
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$dir/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$artifacts" "${dict[@]}" "${extra[@]}" "$scratch" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  if [ "$rc" -eq 0 ]; then
    printf '%-28s %s executions, no finding\n' "$t:" "${runs:-0}"
  else
    status=1
    printf '%-28s FINDING after %s executions (see %s)\n' "$t:" "${runs:-?}" "$log"
    grep -E "ERROR|SUMMARY|Test unit written" "$log" | head -n 5
  fi
done
exit $status
