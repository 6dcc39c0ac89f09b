// Under Wine: the program's own time between a reply's last byte and the next request, over a
// COM port with the meter simulator beside Wine playing the worked heat meter at 9600 bit/s
// (tools/windows/serial-bench.sh). The simulator sees the gap on the line and writes it in its
// log; the counters are those of the POSIX benchmark's BM_ReplyToRequest.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/serial/ReplyGaps.h"
#include "meter/LongFrame.h"
#include "meter/MeterCodes.h"
#include "serial/ProcessComPort.h"

namespace {
constexpr unsigned kSpeed = 9600;
constexpr unsigned kAnsweringSerial = 12345678;
constexpr const char* kGapMark = " ms after the last reply";

// The gaps the simulator's log gives, in milliseconds, the latest last.
std::vector<double> GapsIn(const char* log) {
    std::vector<double> gaps;
    std::ifstream file(log);
    for (std::string line; std::getline(file, line);) {
        const std::size_t mark = line.find(kGapMark);
        const std::size_t start = line.rfind(", ", mark);
        if (mark != std::string::npos && start != std::string::npos)
            gaps.push_back(std::strtod(line.c_str() + start + 2, nullptr));
    }
    return gaps;
}

void BM_ReplyToRequest(benchmark::State& state) {
    const char* port = std::getenv("VEVO_PLAYED_WORKED");
    const char* log = std::getenv("VEVO_PLAYED_WORKED_LOG");
    if (port == nullptr || log == nullptr) {
        state.SkipWithError("no played line: run tools/windows/serial-bench.sh");
        return;
    }
    // console.log goes to a scratch folder.
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "vevo-bench";
    std::filesystem::create_directories(scratch);
    std::filesystem::current_path(scratch);
    const std::size_t before = GapsIn(log).size();
    CProcessComPort link(port, kSpeed);
    const auto request = CLongFrame().BuildReadRequest(kAnsweringSerial, MeterCodeHeat);
    CDataPackage reply("Read");
    for (auto _ : state) {
        link.SendPackage(*request);
        link.ReceivePackage(reply);
    }
    link.SendPackage(*request);  // the request after the last reply
    std::vector<double> gaps;
    for (int wait = 0; wait < 100; ++wait) {
        ::Sleep(10);
        gaps = GapsIn(log);
        if (gaps.size() >= before + static_cast<std::size_t>(state.iterations())) break;
    }
    gaps.erase(gaps.begin(),
               gaps.begin() + static_cast<std::ptrdiff_t>(std::min(before, gaps.size())));
    SetGapCounters(state, gaps, kSpeed);
}
BENCHMARK(BM_ReplyToRequest)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace
