#!/usr/bin/env bash
# Configures and builds the sanitized tree into build-sanitize/ (or $VEVO_SANITIZED_BUILD):
# clang with AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets beside the tests.
# Arguments name the targets to build; none builds everything but the benchmarks.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${VEVO_SANITIZED_BUILD:-$root/build-sanitize}"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DVEVO_SANITIZE=ON -DVEVO_BUILD_FUZZ=ON -DVEVO_BUILD_BENCH=OFF >/dev/null
if [ $# -gt 0 ]; then
    cmake --build "$dir" --parallel "$(nproc)" --target "$@"
else
    cmake --build "$dir" --parallel "$(nproc)"
fi
