#!/usr/bin/env bash
# Runs vantiq_version_tests as each Windows version Wine can report, through copies
# named vantiq_version_tests-<version>.exe (scripts/as-version.sh); each copy reads
# what to expect from its own name.
# Prints each version's GoogleTest summary; exits non-zero when any version fails.
# Usage: scripts/test-versions.sh win32|win64 BUILD_DIR [VERSION...]
#   VERSION: win98 winme win2k winxp win2003 vista win7 win10 win10m (default: all)
#   win10m is Windows 10 for a copy whose manifest declares it: 10.0 instead of 6.2.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 2 ]; then
  echo "usage: $0 win32|win64 BUILD_DIR [VERSION...]" >&2
  exit 2
fi
arch="$1"
build="$(cd "$2" && pwd)"
shift 2
versions=("$@")
[ ${#versions[@]} -gt 0 ] || versions=(win98 winme win2k winxp win2003 vista win7 win10 win10m)

case "$arch" in
  win32|win64) ;;
  *) echo "test-versions: unknown architecture $arch" >&2; exit 2 ;;
esac
program="$build/bin/vantiq_version_tests.exe"
if [ ! -f "$program" ]; then
  echo "test-versions: $program is not built" >&2
  exit 2
fi

# The tests open real windows, which need an X server.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a "$0" "$arch" "$build" "${versions[@]}"
fi

failed=()
for version in "${versions[@]}"; do
  if output="$("$here/scripts/as-version.sh" "$arch" "$version" "$program" 2>&1 | tr -d '\r')"; then
    status=0
  else
    status=$?
  fi
  passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' <<<"$output" | tail -n1)
  failures=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' <<<"$output" | tail -n1)
  passed=${passed:-0}; failures=${failures:-0}
  # A run that exits 0 but never reports a pass (a crash Wine swallowed) fails too.
  if [ "$status" -ne 0 ] || [ "$passed" -eq 0 ] || [ "$failures" -ne 0 ]; then
    failed+=("$version")
    echo "$output" | grep -v '^\[       OK \]\|^\[ RUN      \]' || true
    [ "$failures" -eq 0 ] && failures=1
  fi
  printf '%-28s %s passed, %s failed\n' "$arch $version:" "$passed" "$failures"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "test-versions: $arch failed on ${failed[*]}"
  exit 1
fi
echo "test-versions: $arch passed on ${versions[*]}"
