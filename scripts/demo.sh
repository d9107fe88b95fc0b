#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the main job: the control's paint
# driver walked through every Windows version and look, and the gallery of every look
# drawn through the software surface and through GDI under Wine.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
mkdir -p "$here/out"
echo
"$here/build/native/bin/vantiq-spine"
echo
"$here/build/native/bin/vantiq-gallery" "$here/out/gallery.png"
"$here/scripts/wine-run.sh" win32 "$here/build/win32/bin/vantiq-gallery.exe" "$here/out/gallery-gdi.png" | tr -d '\r'
echo "The gallery: out/gallery.png (software surface) and out/gallery-gdi.png (GDI under Wine)."
