#pragma once

#include <span>
#include <string>
#include <vector>

// Beside each readings table, a table of daily maxima: per meter and day ("yyyy-mm-dd", the
// reading date's first ten characters), the latest date, the largest value of every column the
// reports show, and the earliest date. A report over whole days then reads one row per meter
// and day instead of every reading: a month of hourly readings shrinks 24 times.
//
// Triggers in the file keep it right for every writer, this program or another, whatever
// conflict clause the writer's statement carries (it overrides every clause inside a trigger,
// so no statement of theirs can conflict): a reading later than its day's latest raises the
// day's maxima; any other new reading (an earlier one, or one that replaced a reading of the
// same date) and the going of a reading that held a maximum recompute that day from the
// readings. Only readings with a meter and a text date count, as only those can fall in a
// report's text range.
struct CDailyMaxima {
    const char* readings;  // the readings table, e.g. "heat_data_current"
    const char* daily;     // its daily maxima, e.g. "heat_data_daily"
    // The reported columns with their declared types, so values keep the readings' affinity;
    // the date comes first.
    std::span<const char* const> columns;
};

extern const CDailyMaxima kHeatDailyMaxima;
extern const CDailyMaxima kWaterColdDailyMaxima;
extern const CDailyMaxima kWaterHotDailyMaxima;

// One object of the schema as sqlite_master keeps it.
struct CSchemaObject {
    std::string type;
    std::string name;
    std::string sql;
};

// The day table and its four triggers, with the texts sqlite_master must hold for them.
std::vector<CSchemaObject> DailyMaximaObjects(const CDailyMaxima& maxima);

// Drops whatever is left of the day table and its triggers, makes them afresh and fills the
// table from the readings, as one script; run it inside one savepoint, so a file never has
// the table without its triggers.
std::string DailyMaximaRebuild(const CDailyMaxima& maxima);
