#pragma once

#include <memory>
#include <string_view>

#include "database/Collections.h"
#include "database/models/DataHeatArchive.h"
#include "database/models/DataWaterArchive.h"

class CSQLite3;
class CSQLite3Controller;

// The archive reports: for one building and a range of whole days ("yyyy-mm-dd", both
// inclusive), one row per meter bound to an apartment of the building that has readings in
// the range, with its latest reading date and the largest value of each column. Meters
// without readings in the range are left out. Null when the query failed.
class CMeteringModel {
public:
    explicit CMeteringModel(CSQLite3Controller& controller) : controller_(controller) {}
    CMeteringModel(const CMeteringModel&) = delete;
    CMeteringModel& operator=(const CMeteringModel&) = delete;

    std::unique_ptr<CArrayDataHeatArchive> GetHeatArchive(int bid, std::string_view firstDay,
                                                          std::string_view lastDay);
    std::unique_ptr<CArrayDataWaterArchive> GetWaterColdArchive(int bid, std::string_view firstDay,
                                                                std::string_view lastDay);
    std::unique_ptr<CArrayDataWaterArchive> GetWaterHotArchive(int bid, std::string_view firstDay,
                                                               std::string_view lastDay);

private:
    CSQLite3& Database();

    CSQLite3Controller& controller_;
};
