#pragma once

#include <string>

#include "archive/ArchiveGrid.h"

// A report's grid as text for scripts. Every format carries the title row (as the header or as
// the keys) and the meters' rows; the totals row is the screen's and the sheet's, which a
// script sums for itself.
enum class ReportFormat { Tsv, Csv, Json };

// tsv: one line per row, cells joined by tabs, as the screen shows them.
// csv: RFC 4180: cells joined by commas, a cell with a comma, a quote or a line break between
//      quotes (its quotes doubled), lines ended by CR LF.
// json: an array with one object per meter, keyed by the columns' names: numbers as numbers,
//      an empty cell (or a meter without readings) as null, texts as strings; with the
//      consumption columns, "counter_backwards" tells a counter that went backwards.
std::string ReportText(const CArchiveGrid& grid, ReportFormat format);
