#pragma once

#include <string>
#include <string_view>

#include "archive/ArchiveGrid.h"

class CSQLite3Controller;

// The grid of one report for building `bid` and the whole days `firstDay` to `lastDay`
// ("yyyy-mm-dd"): the title row, then one row per meter in the order the query returns them.
// A failed query gives the title row alone, as the screen shows it.
CArchiveGrid ArchiveReport(CSQLite3Controller& database, ArchiveKind kind, int bid,
                           std::string_view firstDay, std::string_view lastDay);

// A stored energy text in kWh as Gcal with three decimals; a text that is no number is 0.
std::string KwhToGcal(std::string_view kwh);
// A day as the reports take it: "yyyy-mm-dd".
std::string DayText(unsigned year, unsigned month, unsigned day);

class CDataObject;
// A building as the filter lists it and the sheet names it: street, a space, house number.
std::string BuildingLabel(const CDataObject& building);
