# Sourced by core-test.sh and serial-bench.sh: installs what is missing, builds the Windows
# libraries' cache when absent, cross-builds the layers without Qt and the Win32 platform layer
# with mingw-w64 into build-windows-core/, then makes a fresh Wine prefix (no display) whose COM5
# and COM6 reach the meter simulator, the Linux program of build/, playing the meters of
# tests/serial/played/worked.meters and hang-up.meters. The programs under test learn their
# ports from VEVO_PLAYED_WORKED and VEVO_PLAYED_HANG_UP, and the simulators' logs from
# VEVO_PLAYED_WORKED_LOG and VEVO_PLAYED_HANG_UP_LOG. Everything goes when the script exits.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
deps="${VEVO_WINDOWS_DEPS:-$HOME/.cache/vevo-windows}"
build="$root/build-windows-core"
export VEVO_WINDOWS_PREFIX="$deps/prefix"

"$root/tools/setup.sh"
"$here/deps.sh" core

# The simulator runs beside Wine, as the Linux program it is.
if [ ! -x "$root/build/vevo_meter_simulator" ]; then
    [ -f "$root/build/build.ninja" ] ||
        cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$root/build" --target vevo_meter_simulator --parallel "$(nproc)" >/dev/null
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVEVO_QT=OFF -DVEVO_BUILD_TESTS=ON -DVEVO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"

scratch="$(mktemp -d /tmp/vevo-wine-XXXXXX)"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all
simulators=()
finish() {
    for pid in "${simulators[@]}"; do kill "$pid" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap finish EXIT

wine wineboot -i >/dev/null 2>&1
port=5
for meters in worked hang-up; do
    "$root/build/vevo_meter_simulator" --meters "$root/tests/serial/played/$meters.meters" \
        --link "$scratch/$meters" >"$scratch/$meters.log" 2>&1 &
    simulators+=($!)
    for _ in $(seq 50); do [ -e "$scratch/$meters" ] && break; sleep 0.1; done
    [ -e "$scratch/$meters" ] || { echo "the simulator did not start" >&2; exit 1; }
    # Wine makes the prefix's COMn and its SERIALCOMM entry from this key when it starts.
    wine reg add 'HKLM\Software\Wine\Ports' /v "COM$port" /d "$scratch/$meters" /f >/dev/null
    variable="VEVO_PLAYED_${meters//-/_}"
    export "${variable^^}=COM$port" "${variable^^}_LOG=Z:$scratch/$meters.log"
    port=$((port + 1))
done
wineserver -k
wineserver -w
# Kept running until the end, and quiet: a server started by a test would write into its output.
wineserver -p >/dev/null 2>&1
cd "$build"
