#!/usr/bin/env bash
# The Windows core under Wine: the test programs of the layers without Qt and of the Win32
# platform layer, built and run as wine-core.sh sets them up, the serial port against the meter
# simulator on COM5 and COM6. Exit status 1 when any failed.
set -euo pipefail
source "$(dirname "$0")/wine-core.sh"

failed=()
run() {
    echo "== $*"
    if ! wine "$@" --gtest_brief=1; then failed+=("$*"); fi
}
run tests/Utils/vevo_utils_tests.exe
run tests/database/vevo_database_tests.exe
run tests/database/models/vevo_models_tests.exe
run tests/meter/vevo_meter_tests.exe
run tests/serial/vevo_serial_tests.exe
run tests/update/vevo_remote_tests.exe
run tests/update/vevo_update_script_tests.exe
# Once more where the Windows locale writes numbers with a decimal comma.
export LC_ALL=uk_UA.UTF-8
run tests/Utils/vevo_utils_tests.exe
run tests/database/models/vevo_models_tests.exe --gtest_filter=-ConcurrencyTest.*

if [ ${#failed[@]} -gt 0 ]; then
    printf 'core-test: failed under Wine: %s\n' "${failed[@]}" >&2
    exit 1
fi
echo "core-test: every Windows core test passed under Wine"
