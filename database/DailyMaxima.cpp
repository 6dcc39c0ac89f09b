#include "database/DailyMaxima.h"

#include <string_view>

namespace {

constexpr const char* kHeatColumns[] = {"date DATETIME", "q_cooling REAL", "q REAL", "v REAL",
                                        "t1 REAL",       "t2 REAL",        "dt REAL"};
constexpr const char* kWaterColumns[] = {
    "date DATETIME", "v REAL", "v_flow REAL", "bat REAL", "running_time_minute INTEGER",
    "v_reverse REAL"};

std::string_view NameOf(std::string_view column) {
    return column.substr(0, column.find(' '));
}

// `each` applied to every reported column's name, joined with `separator`.
template <class Each>
std::string Joined(const CDailyMaxima& maxima, Each each, std::string_view separator = ", ") {
    std::string text;
    for (const char* column : maxima.columns) {
        if (!text.empty()) text += separator;
        text += each(std::string(NameOf(column)));
    }
    return text;
}

std::string Counted(const std::string& row) {
    return row + ".devid IS NOT NULL AND typeof(" + row + ".date) = 'text'";
}

std::string DayOf(const std::string& row) {
    return "substr(" + row + ".date, 1, 10)";
}

// The day row of `row`'s meter and day.
std::string DayRowOf(const std::string& row) {
    return "devid = " + row + ".devid AND day = " + DayOf(row);
}

std::string DayRowMissing(const CDailyMaxima& m, const std::string& row) {
    return std::string("NOT EXISTS (SELECT 1 FROM ") + m.daily + " WHERE " + DayRowOf(row) + ")";
}

// The day row's values over the readings: the maxima, then the earliest date.
std::string Aggregates(const CDailyMaxima& m) {
    return Joined(m, [](const std::string& c) { return "max(" + c + ")"; }) + ", min(date)";
}

// `row`'s day computed again from the readings, where `stale` picks the day row to replace;
// the range on date lets the (date, devid) index find the day, the prefix test makes it exact.
// The new row goes in only where none is left, so it can never conflict; that test leads the
// join, so a day row that stands costs no look at the readings.
std::string Recompute(const CDailyMaxima& m, const std::string& row, const std::string& stale) {
    const std::string day = DayOf(row);
    return std::string("DELETE FROM ") + m.daily + " WHERE " + DayRowOf(row) + stale +
           "; INSERT INTO " + m.daily + " SELECT devid, substr(date, 1, 10), " + Aggregates(m) +
           " FROM (SELECT 1 WHERE " + DayRowMissing(m, row) + ") CROSS JOIN " + m.readings +
           " WHERE date >= " + day + " AND date < " + day +
           " || char(1114111) AND substr(date, 1, 10) = " + day + " AND devid = " + row +
           ".devid AND typeof(date) = 'text' GROUP BY devid; ";
}

// NEW's arrival. A reading later than its day's latest raises the maxima, the first of a day
// makes the day's row; any other (an earlier reading, or one that replaced a reading of the
// same date without a delete trigger firing for it) marks the day's row, which is then made
// again from the readings. Marking first keeps the raise and the first-of-day insert off it.
std::string Arrive(const CDailyMaxima& m) {
    const std::string daily(m.daily);
    const std::string here = " WHERE " + DayRowOf("NEW");
    return "UPDATE " + daily + " SET date = NULL" + here + " AND date >= NEW.date; UPDATE " +
           daily + " SET " +
           Joined(m,
                  [](const std::string& c) {
                      // Scalar max() is null when either side is, where the aggregate skips
                      // nulls; coalesce gives the aggregate's answer.
                      return c + " = coalesce(max(" + c + ", NEW." + c + "), " + c + ", NEW." + c +
                             ")";
                  }) +
           here + " AND date < NEW.date; INSERT INTO " + daily + " SELECT NEW.devid, " +
           DayOf("NEW") + ", " + Joined(m, [](const std::string& c) { return "NEW." + c; }) +
           ", NEW.date WHERE " + DayRowMissing(m, "NEW") + "; " +
           Recompute(m, "NEW", " AND date IS NULL");
}

// Whether OLD held one of its day's values, so that its going may change them.
std::string HeldADayValue(const CDailyMaxima& m) {
    return Counted("OLD") + " AND EXISTS (SELECT 1 FROM " + m.daily + " WHERE " + DayRowOf("OLD") +
           " AND (" +
           Joined(
               m, [](const std::string& c) { return c + " IS OLD." + c; }, " OR ") +
           " OR first_date IS OLD.date))";
}

CSchemaObject Trigger(const CDailyMaxima& m, const char* suffix, const char* event,
                      const std::string& when, const std::string& body) {
    const std::string name = std::string(m.daily) + "_" + suffix;
    return {"trigger", name,
            "CREATE TRIGGER " + name + " AFTER " + event + " ON " + m.readings + " WHEN " + when +
                " BEGIN " + body + "END"};
}

}  // namespace

const CDailyMaxima kHeatDailyMaxima{"heat_data_current", "heat_data_daily", kHeatColumns};
const CDailyMaxima kWaterColdDailyMaxima{"water_cold_data_current", "water_cold_data_daily",
                                         kWaterColumns};
const CDailyMaxima kWaterHotDailyMaxima{"water_hot_data_current", "water_hot_data_daily",
                                        kWaterColumns};

std::vector<CSchemaObject> DailyMaximaObjects(const CDailyMaxima& m) {
    std::string columns;
    for (const char* column : m.columns) columns += std::string(", ") + column;
    return {
        {"table", m.daily,
         std::string("CREATE TABLE ") + m.daily + "(devid INTEGER NOT NULL, day TEXT NOT NULL" +
             columns + ", first_date DATETIME, PRIMARY KEY (devid, day)) WITHOUT ROWID"},
        Trigger(m, "insert", "INSERT", Counted("NEW"), Arrive(m)),
        Trigger(m, "delete", "DELETE", HeldADayValue(m), Recompute(m, "OLD", "")),
        // An update is the old reading's going and the new one's coming; either order of the
        // two triggers gives the same day rows.
        Trigger(m, "update_old", "UPDATE", HeldADayValue(m), Recompute(m, "OLD", "")),
        Trigger(m, "update_new", "UPDATE", Counted("NEW"), Arrive(m)),
    };
}

std::string DailyMaximaRebuild(const CDailyMaxima& m) {
    const std::vector<CSchemaObject> objects = DailyMaximaObjects(m);
    std::string script;
    for (const CSchemaObject& object : objects) {
        script += (object.type == "table" ? "DROP TABLE IF EXISTS " : "DROP TRIGGER IF EXISTS ") +
                  object.name + "; ";
    }
    for (const CSchemaObject& object : objects) script += object.sql + "; ";
    return script + "INSERT INTO " + m.daily + " SELECT devid, substr(date, 1, 10), " +
           Aggregates(m) + " FROM " + m.readings + " WHERE " + Counted(m.readings) +
           " GROUP BY devid, substr(date, 1, 10); ";
}
