#!/usr/bin/env bash
# Set-up, build, then start the program in run/ against the meter simulator (linked as
# /dev/ttyVEVO0; needs root for /dev) with the simulator's meters stored: press
# "Встановити зв'язок", then "Опитати". Arguments go to the program, e.g. `poll --port
# /dev/ttyVEVO0 --kind heat` for a run without a window.
set -euo pipefail
source "$(dirname "$0")/runtime-dir.sh"
"$root/build/vevo_meter_simulator" >simulator.log 2>&1 &
simulator=$!
trap 'kill $simulator 2>/dev/null; wait $simulator 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e /dev/ttyVEVO0 ] && break; sleep 0.1; done
"$root/build/vevo_demo_directory"
"$root/build/vevo" "$@"
