#pragma once

#include <memory>
#include <string_view>

#include "database/Collections.h"
#include "database/models/DataHeat.h"
#include "database/models/DeviceBaseModel.h"

// devices_heat and its readings, heat_data_current.
class CDeviceHeatModel : public CDeviceBaseModel {
public:
    explicit CDeviceHeatModel(CSQLite3Controller& controller)
        : CDeviceBaseModel(controller, DeviceTables::kHeat) {}

    // A second reading of the meter at the same date-time is refused as AlreadyStored;
    // `outcome`, when given, says why a reading Failed.
    InsertReadingResult InsertReading(const CDataHeat& reading, CExecuteResult* outcome = nullptr);
    // The meter's readings newest first, between the dates when they are not empty (inclusive,
    // compared as texts). devid 0 gives an empty list without asking the database; null when
    // the query failed.
    std::unique_ptr<CArrayDataHeat> GetReadings(int devid, std::string_view from,
                                                std::string_view to);
};
