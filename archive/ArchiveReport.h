#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "archive/ArchiveGrid.h"
#include "database/ReadFailure.h"

class CSQLite3Controller;

// What a report is asked for: a kind, building `bid` and the whole days `firstDay` to
// `lastDay` ("yyyy-mm-dd"); with the consumption columns and the totals row or without; with
// the building's meters that have no reading in the range listed after the others or not.
struct CArchiveRequest {
    ArchiveKind kind = ArchiveKind::Heat;
    int bid = 0;
    std::string firstDay;
    std::string lastDay;
    bool consumption = false;
    bool withoutReadings = false;
};

// A report's grid: the title row, one row per meter with readings in the order the query
// returns them, the meters without readings when asked, and the totals when there are
// consumption columns and meters to sum. When local.db could not be read the grid has its
// title row alone and `failure` says why: an empty report is never mistaken for a failed one.
struct CArchiveReport {
    CArchiveGrid grid;
    std::optional<CReadFailure> failure;
};

CArchiveReport ArchiveReport(CSQLite3Controller& database, const CArchiveRequest& request);

// A day as the reports take it: "yyyy-mm-dd".
std::string DayText(unsigned year, unsigned month, unsigned day);

class CDataObject;
// A building as the filter lists it and the sheet names it: street, a space, house number.
std::string BuildingLabel(const CDataObject& building);
