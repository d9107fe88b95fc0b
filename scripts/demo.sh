#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the main job: the control's paint
# driver walked through every Windows version and look on the scriptable platform.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
echo
"$here/build/native/bin/vantiq-spine"
