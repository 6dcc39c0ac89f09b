#!/usr/bin/env bash
# Start to main screen under Wine: the portable folder of package.sh (run it first) in a fresh
# Wine prefix on Xvfb, started RUNS times (default 5) with --quit-when-shown, timed from the
# launch to the program's "shown" (the main screen painted). The first start also brings up
# Wine's own services; the later ones find them running, as Windows has its own. Target: under
# 2 s. Prints each time, the median of the later starts and the machine's load.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
folder="$root/build-windows/Vevo"
runs="${1:-5}"
[ -x "$folder/vevo.exe" ] || { echo "start-bench: no $folder/vevo.exe; run package.sh" >&2; exit 1; }

scratch="$(mktemp -d /tmp/vevo-start-XXXXXX)"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
export DISPLAY="$display"
wine wineboot -i >/dev/null 2>&1
wineserver -k
wineserver -w
cp -r "$folder" "$scratch/Vevo"
cd "$scratch/Vevo"

# What Wine alone takes to start and end a process of the program, for comparison.
start=$(date +%s%N)
wine vevo.exe --version >/dev/null
echo "vevo.exe --version under Wine: $((($(date +%s%N) - start) / 1000000)) ms"

times=()
for run in $(seq "$runs"); do
    start=$(date +%s%N)
    shown="$(wine vevo.exe --quit-when-shown | while read -r line; do
        [ "${line%$'\r'}" = shown ] && date +%s%N; done)"
    [ -n "$shown" ] || { echo "start-bench: never shown" >&2; exit 1; }
    ms=$(((shown - start) / 1000000))
    echo "start $run: $ms ms"
    [ "$run" -gt 1 ] && times+=("$ms")
done
if [ ${#times[@]} -gt 0 ]; then
    median="$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((${#times[@]} + 1) / 2))p")"
    echo "median of starts 2..$runs: $median ms (target under 2000 ms)"
fi
echo "load: $(cat /proc/loadavg)"
