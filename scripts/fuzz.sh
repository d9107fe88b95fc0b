#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS seconds, starting
# from the committed corpus (new inputs go to a scratch copy, not into the repository).
# Usage: scripts/fuzz.sh SECONDS [target...]   Prints one line per target; exits 1 on a finding.
# VANTIQ_FUZZ_RUNS=N stops each target after N executions instead (SECONDS stays the cap);
# VANTIQ_FUZZ_FLAGS adds libFuzzer options (long runs use -entropic=0 for throughput);
# VANTIQ_FUZZ_DIR builds and runs in another tree, so a long run can go on beside the tests;
# VANTIQ_FUZZ_WORKERS=N runs N processes per target on one corpus (one per core).
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:?usage: scripts/fuzz.sh SECONDS [target...]}"; shift
jobs="${VANTIQ_JOBS:-2}"
workers="${VANTIQ_FUZZ_WORKERS:-1}"
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
  dict=(); [ -f "$here/fuzz/$t.dict" ] && dict=(-dict="$here/fuzz/$t.dict")
  # shellcheck disable=SC2206
  extra=(); [ -n "${VANTIQ_FUZZ_FLAGS:-}" ] && extra+=($VANTIQ_FUZZ_FLAGS)
  # Each worker is its own process on the shared corpus with its own seed; the runs asked
  # for are split between them and their counts added up.
  pids=(); logs=()
  for ((w = 1; w <= workers; w++)); do
    log="$dir/$t.log"; [ "$workers" -gt 1 ] && log="$dir/$t.$w.log"
    runs=(); [ -n "${VANTIQ_FUZZ_RUNS:-}" ] && runs=(-runs=$(( (VANTIQ_FUZZ_RUNS + workers - 1) / workers )))
    seed=(); [ "$workers" -gt 1 ] && seed=(-seed="$w")
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      "$dir/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=8192 \
      -print_final_stats=1 -artifact_prefix="$artifacts" "${dict[@]}" "${runs[@]}" "${seed[@]}" "${extra[@]}" \
      "$scratch" >"$log" 2>&1 &
    pids+=($!); logs+=("$log")
  done
  rc=0; log="${logs[0]}"
  for i in "${!pids[@]}"; do wait "${pids[$i]}" || { rc=1; log="${logs[$i]}"; }; done
  runs=0
  for each in "${logs[@]}"; do
    n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$each" | tail -n1)
    runs=$((runs + ${n:-0}))
  done
  if [ "$rc" -eq 0 ]; then
    printf '%-28s %s executions, no finding\n' "$t:" "${runs:-0}"
  else
    status=1
    printf '%-28s FINDING after %s executions (see %s)\n' "$t:" "${runs:-?}" "$log"
    grep -E "ERROR|SUMMARY|Test unit written" "$log" | head -n 5
  fi
done
exit $status
