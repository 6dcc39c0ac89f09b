// A walk over 20 simulated heat meters at 9600 bit/s with the frame-complete ending: the time
// per meter, and the processor time per meter, which is what is spent outside waiting on the
// line (request, decoding, storing, table updates; the simulator's own share included).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "database/SQLite3Controller.h"
#include "polling/PollingTables.h"
#include "polling/TextPollingScreen.h"
#include "polling/ThreadLoraDevicePolling.h"
#include "serial/ProcessComPort.h"
#include "support/TempWorkDir.h"
#include "tools/simulator/MeterSimulator.h"

namespace {
constexpr int kMeters = 20;

void PollWalk(benchmark::State& state) {
    CTempWorkDir dir;
    CSQLite3Controller database("./local.db");
    std::vector<CSimMeter> meters;
    for (int i = 0; i < kMeters; ++i) {
        CSimMeter meter;
        meter.serial = 20000000u + static_cast<unsigned>(i);
        meter.t1 = "60.00";
        meter.t2 = "40.00";
        meters.push_back(meter);  // the meter clock follows the local time: every poll stores
        CDeviceHeat device;
        device.serial = static_cast<int>(meter.serial);
        database.DeviceHeatModel.InsertDevice(device);
    }
    CMeterSimulator simulator(meters);
    std::string error;
    if (!simulator.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    CProcessComPort link(simulator.PortPath().c_str(), 9600);
    for (auto _ : state) {
        CTextPollingScreen screen(database, PollKindHeat, false, 0, "");
        TThread::StartThread<ThreadLoraDevicePolling>(link, database, screen)->WaitFor();
        benchmark::DoNotOptimize(screen.Output());
    }
    state.SetItemsProcessed(state.iterations() * kMeters);  // items: meters polled
}
}  // namespace

BENCHMARK(PollWalk)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
