#!/usr/bin/env bash
# Set-up, build, then run every test (screens on Qt's offscreen platform).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/setup.sh"
"$root/tools/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build" --output-on-failure --parallel "$(nproc)" --timeout 300

# Once more under a comma-decimal locale, as a Ukrainian desktop sets it, so a number turned
# into text or read from it by the user's conventions fails a test. The binaries without a
# window take the locale from the environment as the window does (tests/support/TestMain.cpp).
LANG=uk_UA.UTF-8 LC_ALL=uk_UA.UTF-8 ctest --test-dir "$root/build" --output-on-failure \
    --parallel "$(nproc)" --timeout 300 --no-tests=error \
    -L '^(vevo_utils_tests|vevo_database_tests|vevo_models_tests|vevo_meter_tests|vevo_polling_tests|vevo_gui_tests|vevo_polling_gui_tests|vevo_imports_tests|vevo_directory_gui_tests|vevo_archive_tests)$'

# The Windows core: the layers without Qt and the Win32 platform layer cross-built with mingw-w64,
# their tests run under Wine against the simulator on a COM port.
"$root/tools/windows/core-test.sh"

# Once more built with AddressSanitizer and UndefinedBehaviorSanitizer, screens included, then
# every fuzz target for a short while on its seed corpus; both share build-sanitize/.
"$root/tools/sanitize.sh"
"$root/tools/fuzz.sh" 20
