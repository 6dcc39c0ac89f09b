#include "database/DailyMaxima.h"

#include <string_view>

namespace {

constexpr const char* kHeatColumns[] = {"date DATETIME", "q_cooling REAL", "q REAL", "v REAL",
                                        "t1 REAL",       "t2 REAL",        "dt REAL"};
constexpr const char* kWaterColumns[] = {"date DATETIME", "v REAL",
                                         "v_flow REAL",   "bat REAL",
                                         "running_time_minute INTEGER", "v_reverse REAL"};

std::string_view NameOf(std::string_view column) {
    return column.substr(0, column.find(' '));
}

// `each` applied to every column name, joined with `separator`.
template <class Each>
std::string Joined(const CDailyMaxima& maxima, Each each, std::string_view separator = ", ") {
    std::string text;
    for (const char* column : maxima.columns) {
        if (!text.empty()) text += separator;
        text += each(std::string(NameOf(column)));
    }
    return text;
}

std::string Counted(const char* row) {
    const std::string r(row);
    return r + ".devid IS NOT NULL AND typeof(" + r + ".date) = 'text'";
}

std::string DayOf(const char* row) {
    return std::string("substr(") + row + ".date, 1, 10)";
}

// Raises the maxima of NEW's day to NEW's values. Scalar max() is null when either side is,
// where the aggregate skips nulls; coalesce gives the aggregate's answer.
std::string Raise(const CDailyMaxima& m) {
    const std::string daily(m.daily);
    return "INSERT OR IGNORE INTO " + daily + "(devid, day) VALUES (NEW.devid, " + DayOf("NEW") +
           "); UPDATE " + daily + " SET " +
           Joined(m,
                  [](const std::string& c) {
                      return c + " = coalesce(max(" + c + ", NEW." + c + "), " + c + ", NEW." +
                             c + ")";
                  }) +
           " WHERE devid = NEW.devid AND day = " + DayOf("NEW") + "; ";
}

// Whether OLD held one of its day's maxima, so that its going may lower them.
std::string HeldAMaximum(const CDailyMaxima& m) {
    return Counted("OLD") + " AND EXISTS (SELECT 1 FROM " + m.daily +
           " WHERE devid = OLD.devid AND day = " + DayOf("OLD") + " AND (" +
           Joined(
               m, [](const std::string& c) { return c + " IS OLD." + c; }, " OR ") +
           "))";
}

std::string Aggregates(const CDailyMaxima& m) {
    return Joined(m, [](const std::string& c) { return "max(" + c + ")"; });
}

// OLD's day computed again from the readings; the range on date lets the (date, devid) index
// find the day, the prefix test makes it exact.
std::string Recompute(const CDailyMaxima& m) {
    const std::string day = DayOf("OLD");
    return std::string("DELETE FROM ") + m.daily + " WHERE devid = OLD.devid AND day = " + day +
           "; INSERT INTO " + m.daily + " SELECT devid, substr(date, 1, 10), " + Aggregates(m) +
           " FROM " + m.readings + " WHERE date >= " + day + " AND date < " + day +
           " || char(1114111) AND substr(date, 1, 10) = " + day +
           " AND devid = OLD.devid AND typeof(date) = 'text' GROUP BY devid; ";
}

// Made afresh: a trigger left behind by a dropped table would stop the readings' inserts.
std::string Trigger(const CDailyMaxima& m, const char* suffix, const char* event,
                    const std::string& when, const std::string& body) {
    const std::string name = std::string(m.daily) + "_" + suffix;
    return "DROP TRIGGER IF EXISTS " + name + "; CREATE TRIGGER " + name + " AFTER " + event +
           " ON " + m.readings + " WHEN " + when + " BEGIN " + body + "END; ";
}

}  // namespace

const CDailyMaxima kHeatDailyMaxima{"heat_data_current", "heat_data_daily", kHeatColumns};
const CDailyMaxima kWaterColdDailyMaxima{"water_cold_data_current", "water_cold_data_daily",
                                         kWaterColumns};
const CDailyMaxima kWaterHotDailyMaxima{"water_hot_data_current", "water_hot_data_daily",
                                        kWaterColumns};

std::string DailyMaximaSchema(const CDailyMaxima& m) {
    std::string columns;
    for (const char* column : m.columns) columns += std::string(", ") + column;
    return std::string("CREATE TABLE ") + m.daily + "(devid INTEGER NOT NULL, day TEXT NOT NULL" +
           columns + ", PRIMARY KEY (devid, day)) WITHOUT ROWID; " +
           Trigger(m, "insert", "INSERT", Counted("NEW"), Raise(m)) +
           Trigger(m, "delete", "DELETE", HeldAMaximum(m), Recompute(m)) +
           // An update is the old reading's going and the new one's coming; either order of
           // the two triggers gives the same maxima.
           Trigger(m, "update_old", "UPDATE", HeldAMaximum(m), Recompute(m)) +
           Trigger(m, "update_new", "UPDATE", Counted("NEW"), Raise(m)) + "INSERT INTO " +
           m.daily + " SELECT devid, substr(date, 1, 10), " + Aggregates(m) + " FROM " +
           m.readings + " WHERE " + Counted(m.readings) + " GROUP BY devid, substr(date, 1, 10); ";
}
