#!/usr/bin/env bash
# Vevo for Windows, proven under Wine in a fresh prefix on Xvfb: the core's tests (core-test.sh),
# the package (package.sh), its silent install, then the installed program beside the Linux
# program of build/, each against a meter simulator of its own (Windows through COM5, a link in
# the prefix to the simulator's pseudo-terminal): the same imports, the same poll rows, the same
# stored readings in the archive and the same export, and the window's main screen saved as
# build-windows/screenshots/main.png. Exit status 1 when anything differs or fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="$root/build-windows"

bash "$here/core-test.sh"
bash "$here/package.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target vevo vevo_meter_simulator --parallel "$(nproc)" >/dev/null

scratch="$(mktemp -d /tmp/vevo-windows-XXXXXX)"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all
helpers=()
finish() {
    for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap finish EXIT

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
helpers+=($!)
export DISPLAY="$display"

failed=()
check() {  # check WHAT COMMAND...: runs COMMAND, says WHAT passed or failed
    local what="$1"; shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2; failed+=("$what"); fi
}

wine wineboot -i >/dev/null 2>&1
for side in linux windows; do
    "$root/build/vevo_meter_simulator" --link "$scratch/$side-port" >"$scratch/$side-sim.log" 2>&1 &
    helpers+=($!)
    for _ in $(seq 50); do [ -e "$scratch/$side-port" ] && break; sleep 0.1; done
done
# Wine makes the prefix's COM5 and its SERIALCOMM entry from this key when it starts.
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$scratch/windows-port" /f >/dev/null
wineserver -k
wineserver -w

setup="$(ls "$out"/Vevo-*-setup.exe)"
wine "$setup" /S
wineserver -w
installed="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Vevo"
start_menu="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu"
check "silent install" test -f "$installed/vevo.exe" -a -f "$installed/platforms/qwindows.dll" \
    -a -f "$start_menu/Programs/Vevo.lnk" -a -f "$installed/uninstall.exe"

mkdir -p "$scratch/linux"
# Each side runs in its working folder; Windows prints CR LF.
run_linux() { (cd "$scratch/linux" && "$root/build/vevo" "$@"); }
run_windows() { (cd "$installed" && wine vevo.exe "$@" | tr -d '\r'); }
# Readings carry the second they were read at, which may differ between the two sides.
clockless() { sed -E 's/[0-9]{2}:[0-9]{2}(:[0-9]{2})?/hh:mm/g'; }
# same NAME ARGS...: both sides print the same and exit with the same status.
same() {
    local name="$1"; shift
    local linux_status=0 windows_status=0
    run_linux "${@//PORT/$scratch/linux-port}" 2>&1 | clockless >"$scratch/$name.linux" ||
        linux_status=$?
    run_windows "${@//PORT/COM5}" 2>&1 | clockless >"$scratch/$name.windows" || windows_status=$?
    check "$name: status $linux_status on both" test "$linux_status" = "$windows_status"
    check "$name: the same output" diff "$scratch/$name.linux" "$scratch/$name.windows"
}

for file in import_devices import_subscribers link_devices; do
    cp "$root/templates/$file.csv" "$scratch/linux/"
    cp "$root/templates/$file.csv" "$installed/"
done
# Cyrillic names, as the operator's files have: the command line and the file system in UTF-16.
cp "$root/templates/import_devices.csv" "$scratch/linux/Лічильники.csv"
cp "$root/templates/import_devices.csv" "$installed/Лічильники.csv"
same "import devices" import devices Лічильники.csv
for db in "$scratch/linux/local.db" "$installed/local.db"; do
    sqlite3 "$db" "INSERT INTO buildings (bid, street, no) VALUES (1, 'Хрещатик', '22')"
done
same "import subscribers" import subscribers import_subscribers.csv --building 1
same "import links" import links link_devices.csv
for kind in heat water_cold water_hot; do
    same "poll $kind" poll --port PORT --kind "$kind"
done
today="$(date +%F)"
for kind in heat water_cold water_hot; do
    same "archive $kind" archive --kind "$kind" --building 1 --from "$today" --to "$today"
done
readings() {
    sqlite3 "$1" "SELECT devid, q, v, t1, t2 FROM heat_data_current ORDER BY devid;
                  SELECT devid, v FROM water_cold_data_current ORDER BY devid;
                  SELECT devid, v FROM water_hot_data_current ORDER BY devid;"
}
readings "$scratch/linux/local.db" >"$scratch/readings.linux"
readings "$installed/local.db" >"$scratch/readings.windows"
check "stored readings" diff "$scratch/readings.linux" "$scratch/readings.windows"
same "export" export --kind heat --building 1 --from "$today" --to "$today" \
    --output Звіти/Відомості.xlsx
cells() {
    /usr/bin/python3 -c 'import openpyxl, sys
for row in openpyxl.load_workbook(sys.argv[1]).active.iter_rows(values_only=True): print(row)' "$1" | clockless
}
cells "$scratch/linux/Звіти/Відомості.xlsx" >"$scratch/cells.linux"
cells "$installed/Звіти/Відомості.xlsx" >"$scratch/cells.windows"
check "the same workbook" diff "$scratch/cells.linux" "$scratch/cells.windows"

# The window, as the Start menu starts it: in the install folder. Without a window manager it has
# no title bar; its caption finds it.
mkdir -p "$out/screenshots"
(cd "$installed" && exec wine vevo.exe >"$scratch/window.log" 2>&1) &
helpers+=($!)
window=""
for _ in $(seq 100); do
    window="$(xdotool search --name '^Vevo' 2>/dev/null | head -n 1)" && [ -n "$window" ] && break
    sleep 0.2
done
sleep 3  # the update check and the first paint
check "the window's main screen" import -display "$display" -window "${window:-root}" "$out/screenshots/main.png"

if [ ${#failed[@]} -gt 0 ]; then
    printf 'windows test: failed: %s\n' "${failed[@]}" >&2
    exit 1
fi
head -n 3 "$scratch/poll heat.windows" "$scratch/readings.windows"
echo "windows test: the installed program under Wine did as the Linux program does"
