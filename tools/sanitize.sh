#!/usr/bin/env bash
# Builds the sanitized tree (tools/sanitized-build.sh: build-sanitize/ or $VEVO_SANITIZED_BUILD),
# then runs every test in it, screens on Qt's offscreen platform, and the screen tour of the
# sanitized program under Xvfb. Any AddressSanitizer, LeakSanitizer or
# UndefinedBehaviorSanitizer report fails its test, or the tour. The tests that start `vevo` or
# the simulator as programs start the sanitized ones of this tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${VEVO_SANITIZED_BUILD:-$root/build-sanitize}"
suppressions="$root/tools/sanitizer"

# The same options while building: the tests are listed by running them after linking.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:report_error_type=1"
export QT_QPA_PLATFORM=offscreen

VEVO_SANITIZED_BUILD="$dir" "$root/tools/sanitized-build.sh"
# A sanitized test runs some times slower than a normal one, hence the long time-out.
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 900 --no-tests=error

# The program itself, as an operator starts it, on the X platform: every screen shown once.
pictures="$(mktemp -d)"
trap 'rm -rf "$pictures"' EXIT
VEVO_BINARY="$dir/vevo" "$root/tools/screenshots.sh" "$pictures" >/dev/null
