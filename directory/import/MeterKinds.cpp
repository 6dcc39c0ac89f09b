#include "directory/import/MeterKinds.h"

#include "database/SQLite3Controller.h"

CDeviceBaseModel& DeviceModelOf(CSQLite3Controller& db, int kind) {
    if (kind == MeterKindHeat) return db.DeviceHeatModel;
    if (kind == MeterKindWaterCold) return db.DeviceWaterColdModel;
    return db.DeviceWaterHotModel;
}

std::unique_ptr<CDevice> NewDeviceOf(int kind) {
    if (kind == MeterKindHeat) return std::make_unique<CDeviceHeat>();
    return std::make_unique<CDevice>();
}

std::optional<MeterKind> MeterKindNamed(std::string_view word) {
    if (word == "heat") return MeterKindHeat;
    if (word == "water_cold") return MeterKindWaterCold;
    if (word == "water_hot") return MeterKindWaterHot;
    return std::nullopt;
}
