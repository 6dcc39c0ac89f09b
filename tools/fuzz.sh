#!/usr/bin/env bash
# Builds the fuzz targets in the sanitized tree (build-sanitize/, or $VEVO_SANITIZED_BUILD) and
# runs each for SECONDS (default 60), two at a time, on a scratch copy of its seed corpus in
# fuzz/corpus/NAME/: the tree's corpus never grows. One line per target: executions,
# executions per second and libFuzzer's final coverage. Fails when any target crashed or broke
# a property; the input that did it is kept in the run folder the line names.
#   tools/fuzz.sh [SECONDS] [NAME...]     (names as in fuzz/CMakeLists.txt: json, base64, ...)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
case "$seconds" in '' | *[!0-9]*) echo "usage: $0 [SECONDS] [NAME...]" >&2; exit 2 ;; esac
dir="${VEVO_SANITIZED_BUILD:-$root/build-sanitize}"
export VEVO_SANITIZED_BUILD="$dir"

"$root/tools/sanitized-build.sh" vevo_fuzz >/dev/null

if [ $# -gt 0 ]; then
    names=("$@")
else
    mapfile -t names < <(sed -n 's/^vevo_add_fuzz_target(\([a-z0-9_]*\) .*/\1/p' \
        "$root/fuzz/CMakeLists.txt")
fi
runs="$dir/fuzz-runs"
mkdir -p "$runs"
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:symbolize=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

# One target in its own folder: the scratch corpus, the log, any crash input, and TMPDIR for
# the working folders of the targets that read files.
run_one() {
    local name="$1" run="$runs/$1"
    rm -rf "$run"
    mkdir -p "$run/corpus" "$run/tmp"
    if [ -d "$root/fuzz/corpus/$name" ]; then cp -R "$root/fuzz/corpus/$name/." "$run/corpus/"; fi
    local status=0
    (cd "$run" && TMPDIR="$run/tmp" "$dir/fuzz/fuzz_$name" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$run/" \
        corpus >log 2>&1) || status=$?
    echo "$status" >"$run/status"
}

for name in "${names[@]}"; do
    if [ ! -x "$dir/fuzz/fuzz_$name" ]; then echo "no fuzz target $name" >&2; exit 2; fi
done
for name in "${names[@]}"; do
    run_one "$name" &
    if [ "$(jobs -rp | wc -l)" -ge 2 ]; then wait -n || true; fi
done
wait

failed=0
for name in "${names[@]}"; do
    run="$runs/$name"
    log="$run/log"
    execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)"
    last="$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)"
    cov="$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")"
    ft="$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")"
    crash="$(ls -d "$run"/{crash,leak,timeout,oom}-* 2>/dev/null | head -1 || true)"
    if [ "$(cat "$run/status")" != 0 ] || [ -n "$crash" ]; then
        failed=1
        printf '%-16s FAILED  input %s, log %s\n' "$name" "${crash:-none}" "$log"
    else
        printf '%-16s execs %-10s exec/s %-7s cov %-5s ft %s\n' \
            "$name" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}"
    fi
done
exit "$failed"
