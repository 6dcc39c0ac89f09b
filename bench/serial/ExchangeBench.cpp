// One request and its reply over a pseudo-terminal, the simulator playing the meter at
// 9600 bit/s, with the real 9-second silence. "Time" is the whole exchange; "CPU" is the part
// spent outside waiting on the line (the exchanging thread's own processor time).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "meter/LongFrame.h"
#include "meter/MeterCodes.h"
#include "meter/Telegram.h"
#include "serial/Frame.h"
#include "serial/ProcessComPort.h"
#include "tools/simulator/MeterReplies.h"
#include "tools/simulator/MeterSimulator.h"
#include "tools/simulator/MeterSpec.h"

namespace {
constexpr unsigned kSpeed = 9600;
constexpr unsigned kAnsweringSerial = 12345678;
constexpr unsigned kSilentSerial = 1;

// The receive logs to console.log in the working directory: keep it out of the source tree.
class CScratchDirectory {
public:
    CScratchDirectory() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vevo-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
        if (!path_.empty()) std::filesystem::current_path(path_);
    }
    ~CScratchDirectory() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

std::vector<CSimMeter> BenchMeters() {
    std::vector<CSimMeter> meters;
    std::string error;
    for (const char* description : {"heat:12345678,q=250.00,t1=21.50,t2=18.05", "heat:1,silent"}) {
        CSimMeter meter;
        ParseMeterSpec(description, meter, error);
        meters.push_back(meter);
    }
    return meters;
}

// Arguments: the serial asked for, and 1 for the frame-complete ending or 0 for pure silence.
void BM_Exchange(benchmark::State& state) {
    CScratchDirectory scratch;
    CMeterSimulator simulator(BenchMeters());
    std::string error;
    if (!simulator.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    CLinkSettings settings;
    settings.endOnCompleteFrame = state.range(1) != 0;
    CProcessComPort port(simulator.PortPath().c_str(), kSpeed, settings);
    const auto serial = static_cast<unsigned>(state.range(0));
    const auto request = CLongFrame().BuildReadRequest(serial, MeterCodeHeat);
    CDataPackage reply("Read");
    int decoded = 0;
    for (auto _ : state) {
        port.SendPackage(*request);
        port.ReceivePackage(reply);
        CTelegram telegram(reply);
        decoded += telegram.Decode() == TelegramOk && telegram.HeatData() != nullptr;
    }
    state.counters["decoded"] = decoded;
    state.counters["reply_bytes"] = static_cast<double>(reply.Size());
}
BENCHMARK(BM_Exchange)
    ->ArgNames({"serial", "end_on_frame"})
    ->Args({kAnsweringSerial, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Exchange)
    ->ArgNames({"serial", "end_on_frame"})
    ->Args({kAnsweringSerial, 0})
    ->Args({kSilentSerial, 1})
    ->Args({kSilentSerial, 0})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the receive adds per reply besides the line: the complete-frame test after every byte,
// then the frame checks and the decoding.
void BM_ReplyProcessing(benchmark::State& state) {
    std::tm clock{};
    CDataPackage line = BuildMeterReply(BenchMeters()[0], clock);
    for (auto _ : state) {
        CDataPackage received;
        bool complete = false;
        for (std::uint8_t byte : line.Bytes()) {
            received.Add(byte);
            complete = IsCompleteFrame(received);
        }
        received.Add(received.At(received.Size() - 1));
        CTelegram telegram(received);
        benchmark::DoNotOptimize(complete);
        benchmark::DoNotOptimize(telegram.Decode());
    }
}
BENCHMARK(BM_ReplyProcessing)->Unit(benchmark::kMicrosecond);
}  // namespace
