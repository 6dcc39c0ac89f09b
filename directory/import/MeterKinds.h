#pragma once

#include <memory>
#include <optional>
#include <string_view>

class CDevice;
class CDeviceBaseModel;
class CSQLite3Controller;

// The meter kinds in the order of the tabs, grids and type lists.
enum MeterKind {
    MeterKindHeat = 0,
    MeterKindWaterCold = 1,
    MeterKindWaterHot = 2,
    MeterKindCount = 3
};

CDeviceBaseModel& DeviceModelOf(CSQLite3Controller& db, int kind);
// An empty record of the kind: a CDeviceHeat for heat meters.
std::unique_ptr<CDevice> NewDeviceOf(int kind);
// "heat", "water_cold" or "water_hot", compared exactly.
std::optional<MeterKind> MeterKindNamed(std::string_view word);
