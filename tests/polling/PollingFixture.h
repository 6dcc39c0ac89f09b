#pragma once

#include <gtest/gtest.h>

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

// A real database file in a temporary working directory and the meter simulator on a real
// pseudo-terminal, with a short silence so no test waits out the operator's 9 seconds.
class PollingTest : public ::testing::Test {
protected:
    static constexpr unsigned kSilenceMs = 150;

    CTempWorkDir dir_;
    CSQLite3Controller db_{"./local.db"};
    std::unique_ptr<CMeterSimulator> simulator_;
    std::unique_ptr<CProcessComPort> link_;

    // `openLink` false leaves the port free for a program of its own.
    void StartSimulator(std::vector<CSimMeter> meters, CSimLine line = {}, bool openLink = true) {
        simulator_ = std::make_unique<CMeterSimulator>(std::move(meters), line);
        std::string error;
        ASSERT_TRUE(simulator_->Start(error)) << error;
        if (!openLink) return;
        CLinkSettings settings;
        settings.silenceMs = kSilenceMs;
        link_ = std::make_unique<CProcessComPort>(simulator_->PortPath().c_str(), 9600, settings);
    }

    static CSimMeter HeatMeter(unsigned serial, const std::string& t1 = "21.50",
                               const std::string& t2 = "18.05") {
        CSimMeter meter;
        meter.serial = serial;
        meter.family = SimFamily::Heat;
        meter.q = "250.00";
        meter.volume = "12.3456";
        meter.t1 = t1;
        meter.t2 = t2;
        meter.hours = 1234;
        meter.clock.now = false;
        meter.clock.year = 2025, meter.clock.month = 1, meter.clock.day = 31;
        meter.clock.hour = 14, meter.clock.minute = 5;
        return meter;
    }

    static CSimMeter WaterMeter(unsigned serial) {
        CSimMeter meter;
        meter.serial = serial;
        meter.family = SimFamily::Water;
        meter.volume = "12.345";
        meter.battery = "3.61";
        meter.minutes = 777;
        meter.clock.now = false;
        meter.clock.year = 2025, meter.clock.month = 2, meter.clock.day = 1;
        meter.clock.hour = 8, meter.clock.minute = 30, meter.clock.second = 15;
        return meter;
    }

    int AddMeter(int kind, int serial, int position = 0, int aid = 0) {
        CDeviceHeat device;
        device.serial = serial;
        device.position = position;
        device.aid = aid;
        return ModelOfKind(db_, kind).InsertDevice(device);
    }

    // One run of the polling thread against `screen`, to its end.
    void RunPoll(CPollingScreen& screen) {
        TThread::StartThread<ThreadLoraDevicePolling>(*link_, db_, screen)->WaitFor();
    }

    // The stored meters' walk of one kind; returns the table as the screen shows it after.
    std::string PollKind(int kind) {
        CTextPollingScreen screen(db_, kind, false, 0, "");
        RunPoll(screen);
        return screen.Output();
    }

    int HeatReadingsOf(int devid) {
        const auto readings = db_.DeviceHeatModel.GetReadings(devid, "", "");
        return readings == nullptr ? -1 : readings->Count();
    }
};
