#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the main job: the demo window with a
# dozen live controls (used without registration through the side-by-side manifests
# beside the demo, run under Xvfb in the 32-bit Wine prefix, saved as out/demo.png),
# the paint driver walked through every Windows version, and the gallery of every look
# drawn through the software surface and through GDI under Wine.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
mkdir -p "$here/out"

# shellcheck source=scripts/xvfb.sh
source "$here/scripts/xvfb.sh"
start_xvfb
trap stop_xvfb EXIT
# Nothing is registered: vantiq-demo.exe.manifest names the control's assembly
# (VantiqCtl.sxs.manifest beside VantiqCtl.dll), so the prefix stays as the tests expect it.
"$here/scripts/wine-run.sh" win32 "$here/build/win32/bin/vantiq-demo.exe" \
  --screenshot "Z:$here/out/demo.png" --frames 40 | tr -d '\r'

echo
"$here/build/native/bin/vantiq-spine"
echo
"$here/build/native/bin/vantiq-gallery" "$here/out/gallery.png"
"$here/scripts/wine-run.sh" win32 "$here/build/win32/bin/vantiq-gallery.exe" "$here/out/gallery-gdi.png" | tr -d '\r'
echo
echo "The demo window: out/demo.png (build/win32/bin/vantiq-demo.exe runs it live)."
echo "The gallery: out/gallery.png (software surface) and out/gallery-gdi.png (GDI under Wine)."
