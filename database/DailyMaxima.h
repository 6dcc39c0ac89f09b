#pragma once

#include <span>
#include <string>

// Beside each readings table, a table of daily maxima: per meter and day ("yyyy-mm-dd", the
// reading date's first ten characters), the latest date and the largest value of every column
// the reports show. A report over whole days then reads one row per meter and day instead of
// every reading: a month of hourly readings shrinks 24 times.
//
// Triggers in the file keep it right for every writer, this program or another: an insert
// raises the day's maxima; a delete or update of a reading that held one of them recomputes
// that day from the readings. Only readings with a meter and a text date count, as only those
// can fall in a report's text range.
struct CDailyMaxima {
    const char* readings;  // the readings table, e.g. "heat_data_current"
    const char* daily;     // its daily maxima, e.g. "heat_data_daily"
    // The reported columns with their declared types, so values keep the readings' affinity.
    std::span<const char* const> columns;
};

extern const CDailyMaxima kHeatDailyMaxima;
extern const CDailyMaxima kWaterColdDailyMaxima;
extern const CDailyMaxima kWaterHotDailyMaxima;

// The table, its triggers and the fill from the readings already stored, as one script; run
// it inside a transaction so a file never has the table without its triggers.
std::string DailyMaximaSchema(const CDailyMaxima& maxima);
