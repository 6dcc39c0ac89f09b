#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "serial/LineSpeeds.h"

// The counters of a reply-to-request benchmark from the gaps the simulator saw on the line, in
// milliseconds: "gap_ms" on average and "gap_max_ms" at most, and "beyond_interval_ms" the
// average less the read interval at `speed` (the target is under 5). No gaps is an error.
inline void SetGapCounters(benchmark::State& state, const std::vector<double>& gapsMs,
                           unsigned speed) {
    if (gapsMs.empty()) {
        state.SkipWithError("no request followed a reply");
        return;
    }
    const double mean =
        std::accumulate(gapsMs.begin(), gapsMs.end(), 0.0) / static_cast<double>(gapsMs.size());
    state.counters["gap_ms"] = mean;
    state.counters["gap_max_ms"] = *std::max_element(gapsMs.begin(), gapsMs.end());
    state.counters["beyond_interval_ms"] = mean - ReadIntervalOf(speed);
}
