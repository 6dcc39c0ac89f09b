#pragma once

#include <memory>
#include <string_view>

#include "database/Collections.h"
#include "database/models/DataWater.h"
#include "database/models/DeviceBaseModel.h"

// A water meter table and its readings table; cold and hot water each have their own pair.
class CDeviceWaterModel : public CDeviceBaseModel {
public:
    // A second reading of the meter at the same date-time is refused as AlreadyStored;
    // `outcome`, when given, says why a reading Failed.
    InsertReadingResult InsertReading(const CDataWater& reading, CExecuteResult* outcome = nullptr);
    // The meter's readings newest first, between the dates when they are not empty (inclusive,
    // compared as texts); v_reverse is not read. devid 0 gives an empty list without asking
    // the database; null when the query failed.
    std::unique_ptr<CArrayDataWater> GetReadings(int devid, std::string_view from,
                                                 std::string_view to);

protected:
    using CDeviceBaseModel::CDeviceBaseModel;
};

// devices_water_cold and water_cold_data_current.
class CDeviceWaterColdModel : public CDeviceWaterModel {
public:
    explicit CDeviceWaterColdModel(CSQLite3Controller& controller)
        : CDeviceWaterModel(controller, DeviceTables::kWaterCold) {}
};

// devices_water_hot and water_hot_data_current.
class CDeviceWaterHotModel : public CDeviceWaterModel {
public:
    explicit CDeviceWaterHotModel(CSQLite3Controller& controller)
        : CDeviceWaterModel(controller, DeviceTables::kWaterHot) {}
};
