// One request and its reply, the simulator playing the meter at 9600 bit/s over a pseudo-terminal
// or behind a serial device server on a loopback TCP port, with the real 9-second silence.
// "Time" is the whole exchange; "CPU" is the part spent outside waiting on the line (the
// exchanging thread's own processor time). Then the lines that never fall silent, and a stop
// request during a silent meter's exchange.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/serial/ReplyGaps.h"
#include "meter/LongFrame.h"
#include "meter/MeterCodes.h"
#include "meter/Telegram.h"
#include "serial/Frame.h"
#include "serial/LineSpeeds.h"
#include "serial/ProcessComPort.h"
#include "serial/ReplyAssembler.h"
#include "serial/ReplyReceive.h"
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
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vevo-bench-XXXXXX").string();
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

// The simulator on a pseudo-terminal, or on a loopback TCP port when `tcp`.
bool StartSimulator(CMeterSimulator& simulator, bool tcp, benchmark::State& state) {
    std::string error;
    if (tcp ? simulator.StartTcp(0, error) : simulator.Start(error)) return true;
    state.SkipWithError(error.c_str());
    return false;
}

// Arguments: the serial asked for, 1 for the frame-complete ending or 0 for pure silence, and
// 1 for the TCP link or 0 for the serial port.
void BM_Exchange(benchmark::State& state) {
    CScratchDirectory scratch;
    CMeterSimulator simulator(BenchMeters());
    if (!StartSimulator(simulator, state.range(2) != 0, state)) return;
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
    ->ArgNames({"serial", "end_on_frame", "tcp"})
    ->Args({kAnsweringSerial, 1, 0})
    ->Args({kAnsweringSerial, 1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Exchange)
    ->ArgNames({"serial", "end_on_frame", "tcp"})
    ->Args({kAnsweringSerial, 0, 0})
    ->Args({kAnsweringSerial, 0, 1})
    ->Args({kSilentSerial, 1, 0})
    ->Args({kSilentSerial, 0, 0})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The program's own time between a reply's last byte and the next request, as the simulator
// sees it on the line: the read interval of quiet that ends a complete frame, plus the rest.
// Counters in milliseconds: "gap" on average and at most, and "beyond_interval" the average
// less the read interval (the target is under 5). Argument: 1 for the TCP link.
void BM_ReplyToRequest(benchmark::State& state) {
    CScratchDirectory scratch;
    CMeterSimulator simulator(BenchMeters());
    if (!StartSimulator(simulator, state.range(0) != 0, state)) return;
    CProcessComPort port(simulator.PortPath().c_str(), kSpeed);
    const auto request = CLongFrame().BuildReadRequest(kAnsweringSerial, MeterCodeHeat);
    CDataPackage reply("Read");
    for (auto _ : state) {
        port.SendPackage(*request);
        port.ReceivePackage(reply);
    }
    port.SendPackage(*request);  // the request after the last reply
    std::vector<CMeterSimulator::Clock::duration> gaps;
    for (int wait = 0; wait < 100 && gaps.size() < static_cast<std::size_t>(state.iterations());
         ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        gaps = simulator.ReplyToRequestGaps();
    }
    std::vector<double> gapsMs;
    for (auto gap : gaps) gapsMs.push_back(std::chrono::duration<double, std::milli>(gap).count());
    SetGapCounters(state, gapsMs, kSpeed);
}
BENCHMARK(BM_ReplyToRequest)
    ->ArgNames({"tcp"})
    ->Arg(0)
    ->Arg(1)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// An exchange with a line that never falls silent, with the real 9-second silence: a stuck
// modem repeating 68 and radio noise end at the byte bound; another meter's reply repeated
// without end (its frames are dropped) only at the time bound. Counter "bound_ms": that bound.
// Argument: 0 for 68, 1 for noise, 2 for another meter's reply.
void BM_EndlessLine(benchmark::State& state) {
    CScratchDirectory scratch;
    const char* kinds[] = {"heat:12345678,endless=68", "heat:12345678,endless=noise",
                           "heat:12345678,endless=reply,as=12345679"};
    CSimMeter meter;
    std::string error;
    ParseMeterSpec(kinds[state.range(0)], meter, error);
    CMeterSimulator simulator({meter});
    if (!StartSimulator(simulator, false, state)) return;
    CProcessComPort port(simulator.PortPath().c_str(), kSpeed);
    const auto request = CLongFrame().BuildReadRequest(kAnsweringSerial, MeterCodeHeat);
    CDataPackage reply("Read");
    for (auto _ : state) {
        port.SendPackage(*request);
        port.ReceivePackage(reply);
    }
    state.counters["bound_ms"] = ReplyTimingOf(kSpeed, CLinkSettings()).boundMs;
    state.counters["reply_bytes"] = static_cast<double>(reply.Size());
}
BENCHMARK(BM_EndlessLine)
    ->ArgNames({"line"})
    ->DenseRange(0, 2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A stop request during a silent meter's exchange, with the real 9-second silence: the time
// from Interrupt to the end of the thread that was waiting in the receive.
void BM_StopDuringSilentExchange(benchmark::State& state) {
    CScratchDirectory scratch;
    CMeterSimulator simulator(BenchMeters());
    if (!StartSimulator(simulator, false, state)) return;
    CProcessComPort port(simulator.PortPath().c_str(), kSpeed);
    const auto request = CLongFrame().BuildReadRequest(kSilentSerial, MeterCodeHeat);
    for (auto _ : state) {
        port.Resume();
        std::thread exchange([&] {
            CDataPackage reply("Read");
            port.SendPackage(*request);
            port.ReceivePackage(reply);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // well into the wait
        const auto stop = std::chrono::steady_clock::now();
        port.Interrupt();
        exchange.join();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - stop).count());
    }
}
BENCHMARK(BM_StopDuringSilentExchange)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// What the receive adds per reply besides the line: the reply assembler after every byte, then
// the frame checks and the decoding. Argument: the preamble's length.
void BM_ReplyProcessing(benchmark::State& state) {
    std::tm clock{};
    clock.tm_year = 2025 - 1900;
    clock.tm_mday = 1;
    CSimMeter meter = BenchMeters()[0];
    meter.preambleBytes = static_cast<unsigned>(state.range(0));
    const CDataPackage line = BuildMeterReply(meter, clock);
    const CMeterSerialBytes asked = {0x78, 0x56, 0x34, 0x12};
    for (auto _ : state) {
        CReplyAssembler assembler(asked);
        ReplyProgress progress = ReplyProgress::MoreNeeded;
        for (std::uint8_t byte : line.Bytes()) progress = assembler.Add(byte);
        CDataPackage received = assembler.Bytes();
        received.Add(received.At(received.Size() - 1));
        CTelegram telegram(received);
        benchmark::DoNotOptimize(progress);
        benchmark::DoNotOptimize(telegram.Decode());
    }
}
BENCHMARK(BM_ReplyProcessing)->Arg(3)->Arg(13)->Unit(benchmark::kMicrosecond);
}  // namespace
