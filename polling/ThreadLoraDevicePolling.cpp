#include "polling/ThreadLoraDevicePolling.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "Utils/Decimal.h"
#include "Utils/Format.h"
#include "app/Log.h"
#include "database/SQLite3Controller.h"
#include "database/models/InsertReadingResult.h"
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
    const double t1 = ParseDecimal(reading.t1.view());
    const double t2 = ParseDecimal(reading.t2.view());
    return Format("%.02f", position != 0 ? t2 - t1 : t1 - t2);
}

// A sound reply whose fields are not what they must be is said once in console.log.
void LogFault(const CTelegram& telegram, unsigned serial) {
    if (!telegram.Fault().empty())
        Log.Write("\nReply of %08u not taken: %s;\n", serial, telegram.Fault().c_str());
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
    : link_(link), database_(database), screen_(screen) {
    // Made before the run starts, so no Terminate can come before it: a stop of an earlier run
    // no longer holds, and a stop of this one always does.
    link_.Resume();
}

void ThreadLoraDevicePolling::TerminatedSet() {
    link_.Interrupt();
}

bool ThreadLoraDevicePolling::Exchange(const CDataPackage& request, CDataPackage& reply) {
    if (Terminated()) return false;
    link_.SendPackage(request);
    if (Terminated()) return false;
    link_.ReceivePackage(reply);
    // Stopped during the receive: the exchange was abandoned, and nothing of it is shown.
    return !Terminated();
}

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
    CReadFailure unread;
    const auto meters = ModelOfKind(database_, kind).GetDevices(&unread);
    PollKind = kind;
    if (meters == nullptr) {
        if (!failures_.unreadList) failures_.unreadList = std::move(unread);
        return;
    }
    for (int i = 0; i < meters->Count(); ++i) {
        CurrentRow = i;
        const CDevice& meter = *meters->Get(i);
        const auto serial = static_cast<unsigned>(meter.serial);
        Synchronize([this, count = meters->Count()] {
            screen_.ShowReadingRow(PollKind, CurrentRow + 1, count);
        });
        CDataPackage reply("Read");
        if (!Exchange(*frame.BuildReadRequest(serial, MeterCodeOfKind(kind)), reply)) return;
        CTelegram telegram(reply);
        const bool sound = telegram.Decode() == TelegramOk;
        LogFault(telegram, serial);
        if (!sound || !TakeMeterReading(telegram, meter)) Synchronize([this] { ShowRowError(); });
        heat_.reset();
        water_.reset();
    }
}

bool ThreadLoraDevicePolling::TakeMeterReading(CTelegram& telegram, const CDevice& meter) {
    InsertReadingResult stored = InsertReadingResult::Failed;
    CExecuteResult outcome;
    if (PollKind == PollKindHeat) {
        heat_ = telegram.TakeHeatData();
        if (heat_ == nullptr || heat_->serial != meter.serial) return false;
        heat_->devid = meter.devid;
        const auto* heatMeter = dynamic_cast<const CDeviceHeat*>(&meter);
        heat_->dt = TemperatureDifference(*heat_, heatMeter != nullptr ? heatMeter->position : 0);
        stored = database_.DeviceHeatModel.InsertReading(*heat_, &outcome);
    } else {
        water_ = telegram.TakeWaterData();
        if (water_ == nullptr || water_->serial != meter.serial) return false;
        water_->devid = meter.devid;
        auto& model = PollKind == PollKindWaterCold
                          ? static_cast<CDeviceWaterModel&>(database_.DeviceWaterColdModel)
                          : database_.DeviceWaterHotModel;
        stored = model.InsertReading(*water_, &outcome);
    }
    // A reading already stored for this meter and time is as good as stored: a second poll in
    // the same meter minute shows "OK" too. Any other failure has been logged by the model, on
    // the same disk perhaps, so it is counted for the end of the run as well.
    if (stored == InsertReadingResult::Failed) {
        if (failures_.notStored++ == 0) failures_.notStoredReason = outcome.error;
        return false;
    }
    Synchronize([this] { ShowRowRead(); });
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

    CDataPackage reply("Read");
    if (!Exchange(*CLongFrame().BuildReadRequest(serial, meterCode), reply)) return;
    CTelegram telegram(reply);
    const int check = telegram.Decode();
    LogFault(telegram, serial);
    // The reply's own type decides which table is filled, not the chosen one.
    bool shown = false;
    if (check == TelegramOk && telegram.MeterCode() == MeterCodeWater) {
        water_ = telegram.TakeWaterData();
        shown = water_ != nullptr && static_cast<unsigned>(water_->serial) == serial;
        if (shown) Synchronize([this] { ShowWaterByNumber(); });
    } else if (check == TelegramOk && telegram.MeterCode() == MeterCodeHeat) {
        heat_ = telegram.TakeHeatData();
        shown = heat_ != nullptr && static_cast<unsigned>(heat_->serial) == serial;
        if (shown) Synchronize([this] { ShowHeatByNumber(); });
    }
    // Values left from an earlier read would pass for this meter's.
    if (!shown) Synchronize([this] { screen_.ShowNoAnswer(); });
    heat_.reset();
    water_.reset();
}

void ThreadLoraDevicePolling::ShowRowRead() {
    screen_.ShowMeterRow(PollKind, CurrentRow + 1,
                         PollKind == PollKindHeat ? ReadingCells(*heat_) : ReadingCells(*water_));
}

void ThreadLoraDevicePolling::ShowRowError() {
    screen_.ShowMeterRow(PollKind, CurrentRow + 1, {ErrorCell(PollKind)});
}

void ThreadLoraDevicePolling::ShowHeatByNumber() {
    screen_.ShowByNumberValues(ByNumberValues(*heat_));
}

void ThreadLoraDevicePolling::ShowWaterByNumber() {
    screen_.ShowByNumberValues(ByNumberValues(*water_));
}

void ThreadLoraDevicePolling::ShowPollingFinished() {
    screen_.PollingFinished(failures_);
}
