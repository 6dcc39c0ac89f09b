#pragma once

#include <memory>
#include <string_view>

#include "database/Collections.h"
#include "database/ReadFailure.h"
#include "database/models/DataHeatArchive.h"
#include "database/models/DataWaterArchive.h"

class CSQLite3;
class CSQLite3Controller;

// The archive reports: for one building and a range of whole days ("yyyy-mm-dd", both
// inclusive), one row per meter bound to an apartment of the building that has readings in
// the range, with its latest reading date, the largest value of each column, and its earliest
// reading in the range with the counter (heat energy, or volume) at the earliest and the
// latest reading. Meters without readings in the range are left out of the reports and listed
// by the Silent lists (serial and apartment number alone). Every list is null when its query
// failed, with SQLite's reason in `failure` when one is given.
class CMeteringModel {
public:
    explicit CMeteringModel(CSQLite3Controller& controller) : controller_(controller) {}
    CMeteringModel(const CMeteringModel&) = delete;
    CMeteringModel& operator=(const CMeteringModel&) = delete;

    std::unique_ptr<CArrayDataHeatArchive> GetHeatArchive(int bid, std::string_view firstDay,
                                                          std::string_view lastDay,
                                                          CReadFailure* failure = nullptr);
    std::unique_ptr<CArrayDataWaterArchive> GetWaterColdArchive(int bid, std::string_view firstDay,
                                                                std::string_view lastDay,
                                                                CReadFailure* failure = nullptr);
    std::unique_ptr<CArrayDataWaterArchive> GetWaterHotArchive(int bid, std::string_view firstDay,
                                                               std::string_view lastDay,
                                                               CReadFailure* failure = nullptr);

    std::unique_ptr<CArrayDataHeatArchive> GetHeatSilent(int bid, std::string_view firstDay,
                                                         std::string_view lastDay,
                                                         CReadFailure* failure = nullptr);
    std::unique_ptr<CArrayDataWaterArchive> GetWaterColdSilent(int bid, std::string_view firstDay,
                                                               std::string_view lastDay,
                                                               CReadFailure* failure = nullptr);
    std::unique_ptr<CArrayDataWaterArchive> GetWaterHotSilent(int bid, std::string_view firstDay,
                                                              std::string_view lastDay,
                                                              CReadFailure* failure = nullptr);

private:
    CSQLite3& Database();

    CSQLite3Controller& controller_;
};
