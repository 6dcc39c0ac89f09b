#include "polling/PollingTables.h"

#include "Utils/Format.h"
#include "Utils/TextConversion.h"
#include "database/DailyMaxima.h"
#include "database/SQLite3Controller.h"
#include "database/models/DataHeat.h"
#include "database/models/DataWater.h"

namespace {
const std::vector<const char*> kHeatHeaders = {
    "Серійний номер", "Номер кв", "Дата/час", "Q cooling, kWh", "Q, kWh", "V, m3",
    "T1, °C",         "T2, °C",   "DT, °C",   "Run time",       "Стан",
};
const std::vector<const char*> kWaterHeaders = {
    "Серійний номер", "Номер кв",    "Дата/час",  "V, m3", "V Flow, m3/h",
    "Bat, v",         "Run time, h", "V Reverse", "Стан",
};
const std::vector<const char*> kHeatByNumberLabels = {
    "Date/Time", "Q cooling, kWh", "Q, kWh", "V, m3", "T1, °C", "T2, °C", "Run time, h",
};
const std::vector<const char*> kWaterByNumberLabels = {
    "Date/Time", "V, m3", "V Flow, m3/h", "Battery, v", "Run time (minute)", "Reserve volume",
};
constexpr const char* kStored = "OK";
}  // namespace

const std::vector<const char*>& MeterHeadersOf(int kind) {
    return kind == PollKindHeat ? kHeatHeaders : kWaterHeaders;
}

int ColumnCountOf(int kind) {
    return kind == PollKindHeat ? static_cast<int>(HeatColumnCount) : WaterColumnCount;
}

std::vector<CMeterCell> ReadingCells(const CDataHeat& r) {
    return {{HeatDate, r.date.c_str()},
            {HeatQCooling, r.q_cooling.c_str()},
            {HeatQ, r.q.c_str()},
            {HeatV, r.v.c_str()},
            {HeatT1, r.t1.c_str()},
            {HeatT2, r.t2.c_str()},
            {HeatDt, r.dt.c_str()},
            {HeatRunTime, Format("%i", r.running_time_hour)},
            {HeatStatus, kStored}};
}

std::vector<CMeterCell> ReadingCells(const CDataWater& r) {
    return {{WaterDate, r.date.c_str()},
            {WaterV, r.v.c_str()},
            {WaterVFlow, r.v_flow.c_str()},
            {WaterBat, r.bat.c_str()},
            {WaterRunTime, Format("%i", r.running_time_minute)},
            {WaterVReverse, r.v_reverse.c_str()},
            {WaterStatus, kStored}};
}

int StatusColumnOf(int kind) {
    return kind == PollKindHeat ? static_cast<int>(HeatStatus) : WaterStatus;
}

CMeterCell ErrorCell(int kind) {
    return {StatusColumnOf(kind), kStatusFailed};
}

const std::vector<const char*>& ByNumberLabelsOf(int family) {
    return family == 0 ? kHeatByNumberLabels : kWaterByNumberLabels;
}

std::vector<std::string> ByNumberValues(const CDataHeat& r) {
    return {r.date.c_str(), r.q_cooling.c_str(), r.q.c_str(), r.v.c_str(),
            r.t1.c_str(),   r.t2.c_str(),        Format("%i", r.running_time_hour)};
}

std::vector<std::string> ByNumberValues(const CDataWater& r) {
    return {r.date.c_str(), r.v.c_str(), r.v_flow.c_str(), r.bat.c_str(),
            Format("%i", r.running_time_minute), r.v_reverse.c_str()};
}

CDeviceBaseModel& ModelOfKind(CSQLite3Controller& database, int kind) {
    switch (kind) {
        case PollKindHeat:
            return database.DeviceHeatModel;
        case PollKindWaterCold:
            return database.DeviceWaterColdModel;
        default:
            return database.DeviceWaterHotModel;
    }
}

std::vector<const char*> TablesWrittenByWalk(int kind) {
    const CDailyMaxima& maxima = kind == PollKindHeat        ? kHeatDailyMaxima
                                 : kind == PollKindWaterCold ? kWaterColdDailyMaxima
                                                             : kWaterHotDailyMaxima;
    return {maxima.readings, maxima.daily};
}

std::vector<CMeterRowHead> MeterRowHeads(CSQLite3Controller& database, int kind,
                                         CReadFailure* failure) {
    std::vector<CMeterRowHead> heads;
    const auto devices = ModelOfKind(database, kind).GetDevices(failure);
    if (devices == nullptr) return heads;
    for (const auto& device : *devices) {
        CMeterRowHead head{Format("%08i", device->serial), {}};
        if (device->aid != 0 && device->subscriber != nullptr)
            head.apartment = Cp1251ToUtf8(device->subscriber->no.view());
        heads.push_back(std::move(head));
    }
    return heads;
}

int MeterCountOf(CSQLite3Controller& database, int kind) {
    const auto devices = ModelOfKind(database, kind).GetDevices();
    return devices == nullptr ? 0 : devices->Count();
}

std::string ElapsedText(long long milliseconds) {
    const long long hours = milliseconds / 3600000;
    const long long minutes = (milliseconds % 3600000) / 60000;
    const long long seconds = (milliseconds % 3600000 % 60000) / 1000;
    return Format("%02lli:%02lli:%02lli", hours, minutes, seconds);
}
