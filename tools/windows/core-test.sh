#!/usr/bin/env bash
# The Windows core under Wine: the layers without Qt (helpers, settings, log, database, models,
# serial link, meter protocol, the remote service's client) and the Win32 side of the platform
# layer, cross-built with mingw-w64 into build-windows-core/, and their test programs run in a
# fresh Wine prefix without a display. The serial tests talk to the meter simulator (a Linux
# program, from build/) through the prefix's COM5 and COM6, which the registry lists as Wine
# lists its ports. Installs what is missing and builds the libraries' cache when absent.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
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
    -DCMAKE_BUILD_TYPE=Release -DVEVO_QT=OFF -DVEVO_BUILD_BENCH=OFF >/dev/null
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
# One simulator per line of tests/serial/played/, each linked where a Wine port points.
port=5
for meters in worked hang-up; do
    "$root/build/vevo_meter_simulator" --meters "$root/tests/serial/played/$meters.meters" \
        --link "$scratch/$meters" >"$scratch/$meters.log" 2>&1 &
    simulators+=($!)
    for _ in $(seq 50); do [ -e "$scratch/$meters" ] && break; sleep 0.1; done
    [ -e "$scratch/$meters" ] || { echo "core-test: the simulator did not start" >&2; exit 1; }
    # Wine makes the prefix's COMn and its SERIALCOMM entry from this key when it starts.
    wine reg add 'HKLM\Software\Wine\Ports' /v "COM$port" /d "$scratch/$meters" /f >/dev/null
    variable="VEVO_PLAYED_${meters//-/_}"
    export "${variable^^}=COM$port"
    port=$((port + 1))
done
wineserver -k
wineserver -w

failed=()
run() {
    echo "== $*"
    if ! wine "$@" --gtest_brief=1; then failed+=("$*"); fi
}
cd "$build"
run tests/Utils/vevo_utils_tests.exe
run tests/database/vevo_database_tests.exe
run tests/database/models/vevo_models_tests.exe
run tests/meter/vevo_meter_tests.exe
run tests/serial/vevo_serial_tests.exe
run tests/update/vevo_remote_tests.exe
# Once more where the Windows locale writes numbers with a decimal comma.
export LC_ALL=uk_UA.UTF-8
run tests/Utils/vevo_utils_tests.exe
run tests/database/models/vevo_models_tests.exe --gtest_filter=-ConcurrencyTest.*

if [ ${#failed[@]} -gt 0 ]; then
    printf 'core-test: failed under Wine: %s\n' "${failed[@]}" >&2
    exit 1
fi
echo "core-test: every Windows core test passed under Wine"
