#include "polling/ThreadLoraDevicePolling.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "Utils/Format.h"
#include "database/SQLite3Controller.h"
#include "meter/LongFrame.h"
#include "meter/MeterCodes.h"
#include "meter/Telegram.h"
#include "polling/PollingScreen.h"
#include "polling/PollingTables.h"
#include "serial/Frame.h"
#include "serial/ProcessComPort.h"

namespace {

// The temperature difference by the meter's place on the pipeline: on the supply pipe (0) the
// flow is t1 and the return t2, on the return pipe the other way round.
std::string TemperatureDifference(const CDataHeat& reading, int position) {
    const double t1 = std::atof(reading.t1.c_str());
    const double t2 = std::atof(reading.t2.c_str());
    return Format("%.02f", position != 0 ? t2 - t1 : t1 - t2);
}

// The leading decimal digits of the typed number, at most 8; none give 0.
unsigned TypedSerial(const std::string& text) {
    unsigned serial = 0;
    for (std::size_t i = 0;
         i < text.size() && i < 8 && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        serial = serial * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return serial;
}

}  // namespace

ThreadLoraDevicePolling::ThreadLoraDevicePolling(CProcessComPort& link,
                                                 CSQLite3Controller& database,
                                                 CPollingScreen& screen)
    : link_(link), database_(database), screen_(screen) {}

void ThreadLoraDevicePolling::Execute() {
    if (ByNumberTabShown()) {
        PollByNumber();
    } else {
        PollSavedMeters();
    }
    Synchronize([this] { ShowPollingFinished(); });
}

bool ThreadLoraDevicePolling::ByNumberTabShown() {
    bool shown = false;
    Synchronize([&] { shown = screen_.ByNumberTabShown(); });
    return shown;
}

int ThreadLoraDevicePolling::SavedKindTab() {
    int tab = 0;
    Synchronize([&] { tab = screen_.SavedKindTab(); });
    return tab;
}

// The tab is read again before each walk, so a tab switched during a walk adds its own walk.
void ThreadLoraDevicePolling::PollSavedMeters() {
    if (SavedKindTab() == 0) PollHeatMeters();
    if (SavedKindTab() == 1) PollColdWaterMeters();
    if (SavedKindTab() == 2) PollHotWaterMeters();
}

void ThreadLoraDevicePolling::PollMetersOfKind(int kind) {
    const CLongFrame frame;
    const auto meters = ModelOfKind(database_, kind).GetDevices();
    PollKind = kind;
    if (meters == nullptr) return;
    for (int i = 0; i < meters->Count(); ++i) {
        CurrentRow = i;
        const CDevice& meter = *meters->Get(i);
        link_.SendPackage(
            *frame.BuildReadRequest(static_cast<unsigned>(meter.serial), MeterCodeOfKind(kind)));
        if (Terminated()) return;

        CDataPackage reply("Read");
        link_.ReceivePackage(reply);
        CTelegram telegram(reply);
        const bool sound = telegram.Decode() == TelegramOk;
        if (!sound || !TakeMeterReading(telegram, meter)) Synchronize([this] { ShowRowError(); });
        heat_.reset();
        water_.reset();
        if (Terminated()) return;
    }
}

bool ThreadLoraDevicePolling::TakeMeterReading(CTelegram& telegram, const CDevice& meter) {
    if (PollKind == PollKindHeat) {
        heat_ = telegram.TakeHeatData();
        if (heat_ == nullptr || heat_->serial != meter.serial) return false;
        heat_->devid = meter.devid;
        const auto* heatMeter = dynamic_cast<const CDeviceHeat*>(&meter);
        heat_->dt = TemperatureDifference(*heat_, heatMeter != nullptr ? heatMeter->position : 0);
        Synchronize([this] { ShowRowRead(); });
        // A reading already stored for this meter and time is refused; the row shows "OK" all the
        // same.
        database_.DeviceHeatModel.InsertReading(*heat_);
        return true;
    }
    water_ = telegram.TakeWaterData();
    if (water_ == nullptr || water_->serial != meter.serial) return false;
    water_->devid = meter.devid;
    Synchronize([this] { ShowRowRead(); });
    auto& model = PollKind == PollKindWaterCold
                      ? static_cast<CDeviceWaterModel&>(database_.DeviceWaterColdModel)
                      : database_.DeviceWaterHotModel;
    model.InsertReading(*water_);
    return true;
}

// Readings taken by number are shown, never stored.
void ThreadLoraDevicePolling::PollByNumber() {
    int family = -1;
    std::string typed;
    Synchronize([&] {
        family = screen_.ByNumberFamily();
        typed = screen_.TypedNumber();
    });
    const int meterCode = family == 0 ? MeterCodeHeat : family == 1 ? MeterCodeWater : -1;
    const unsigned serial = TypedSerial(typed);

    link_.SendPackage(*CLongFrame().BuildReadRequest(serial, meterCode));
    CDataPackage reply("Read");
    link_.ReceivePackage(reply);
    CTelegram telegram(reply);
    if (telegram.Decode() != TelegramOk) return;
    // The reply's own type decides which table is filled, not the chosen one.
    if (telegram.MeterCode() == MeterCodeWater) {
        water_ = telegram.TakeWaterData();
        if (water_ != nullptr && static_cast<unsigned>(water_->serial) == serial) {
            Synchronize([this] { ShowWaterByNumber(); });
        }
    } else if (telegram.MeterCode() == MeterCodeHeat) {
        heat_ = telegram.TakeHeatData();
        if (heat_ != nullptr && static_cast<unsigned>(heat_->serial) == serial) {
            Synchronize([this] { ShowHeatByNumber(); });
        }
    }
    heat_.reset();
    water_.reset();
}

void ThreadLoraDevicePolling::ShowRowRead() {
    const int row = CurrentRow + 1;
    std::vector<std::string> cells;
    if (PollKind == PollKindHeat) {
        const CDataHeat& r = *heat_;
        cells = {
            r.date.c_str(), r.q_cooling.c_str(), r.q.c_str(),  r.v.c_str(),
            r.t1.c_str(),   r.t2.c_str(),        r.dt.c_str(), Format("%i", r.running_time_hour)};
    } else {
        const CDataWater& r = *water_;
        cells = {r.date.c_str(),
                 r.v.c_str(),
                 r.v_flow.c_str(),
                 r.bat.c_str(),
                 Format("%i", r.running_time_minute),
                 r.v_reverse.c_str()};
    }
    cells.emplace_back("OK");
    for (std::size_t i = 0; i < cells.size(); ++i) {
        screen_.SetMeterCell(PollKind, static_cast<int>(i) + 2, row, cells[i]);
    }
}

void ThreadLoraDevicePolling::ShowRowError() {
    screen_.SetMeterCell(PollKind, StatusColumnOf(PollKind), CurrentRow + 1, "Ошибка");
}

void ThreadLoraDevicePolling::ShowHeatByNumber() {
    const CDataHeat& r = *heat_;
    const std::string values[] = {r.date.c_str(),
                                  r.q_cooling.c_str(),
                                  r.q.c_str(),
                                  r.v.c_str(),
                                  r.t1.c_str(),
                                  r.t2.c_str(),
                                  Format("%i", r.running_time_hour)};
    for (int row = 0; row < 7; ++row) screen_.SetByNumberValue(row, values[row]);
}

void ThreadLoraDevicePolling::ShowWaterByNumber() {
    const CDataWater& r = *water_;
    const std::string values[] = {r.date.c_str(),
                                  r.v.c_str(),
                                  r.v_flow.c_str(),
                                  r.bat.c_str(),
                                  Format("%i", r.running_time_minute),
                                  r.v_reverse.c_str()};
    for (int row = 0; row < 6; ++row) screen_.SetByNumberValue(row, values[row]);
}

void ThreadLoraDevicePolling::ShowPollingFinished() {
    screen_.PollingFinished();
}
