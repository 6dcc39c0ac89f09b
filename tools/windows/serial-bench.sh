#!/usr/bin/env bash
# The program's own time between a reply's last byte and the next request at 9600 bit/s, under
# Wine over COM5 (set up by wine-core.sh) beside the same figure on Linux over a
# pseudo-terminal, with the machine's load.
set -euo pipefail
source "$(dirname "$0")/wine-core.sh"

echo "== Windows, under Wine, COM5"
wine bench/serial/vevo_serial_bench.exe
cmake --build "$root/build" --target vevo_serial_bench --parallel "$(nproc)" >/dev/null
echo "== Linux, pseudo-terminal and TCP"
"$root/build/bench/serial/vevo_serial_bench" --benchmark_filter=BM_ReplyToRequest
echo "load: $(cat /proc/loadavg)"
