#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "ModelFixture.h"
#include "Utils/Format.h"
#include "database/Schema.h"
#include "database/Statement.h"

// The day tables must give the reports exactly what the report over the readings themselves
// gives, whatever statement of whatever tool wrote the readings.
namespace {

// The heat report over the readings, whole days: the latest date, each column's largest value,
// the earliest date, and the energy at the earliest and the latest reading.
constexpr const char* kReference =
    "select g.serial, g.no, g.date, g.q_cooling, g.q, g.v, g.t1, g.t2, g.dt, g.first_date, "
    "(select q from heat_data_current e where e.devid = g.devid and e.date = g.first_date), "
    "(select q from heat_data_current l where l.devid = g.devid and l.date = g.date) from ("
    "select devices_heat.devid as devid, devices_heat.serial as serial, app.no as no, "
    "max(r.date) as date, max(r.q_cooling) as q_cooling, max(r.q) as q, max(r.v) as v, "
    "max(r.t1) as t1, max(r.t2) as t2, max(r.dt) as dt, min(r.date) as first_date from "
    "devices_heat left join app on app.aid = devices_heat.aid left join heat_data_current r on "
    "r.devid = devices_heat.devid where r.date >= '%s' and r.date < '%s' || char(1114111) and "
    "typeof(r.date) = 'text' and app.bid = %i group by devices_heat.devid) as g;";

// The day rows made afresh from the readings.
constexpr const char* kDaysOfReadings =
    "select devid, substr(date, 1, 10), max(date), max(q_cooling), max(q), max(v), max(t1), "
    "max(t2), max(dt), min(date) from heat_data_current where devid is not null and "
    "typeof(date) = 'text' group by devid, substr(date, 1, 10)";

// How many day rows differ from those, both ways.
std::string DayRowsDiffering() {
    return std::string("select (select count(*) from (select * from heat_data_daily except ") +
           kDaysOfReadings + ")) + (select count(*) from (" + kDaysOfReadings +
           " except select * from heat_data_daily));";
}

std::string Shown(const CStoredNumber& value) {
    return value ? Format("%.17g", *value) : "NULL";
}

class DailyMaximaTest : public ModelTest {
protected:
    DailyMaximaTest() {
        bid_ = AddBuilding();
        const int aid = AddApartment(bid_, "1");
        for (int serial = 1; serial <= 3; ++serial) AddDevice(db_.DeviceHeatModel, serial, aid);
    }

    // What the program reports for March, one line a meter.
    std::vector<std::string> Report(const char* first = "2024-03-01",
                                    const char* last = "2024-03-31") {
        std::vector<std::string> lines;
        const auto report = db_.MeteringModel.GetHeatArchive(bid_, first, last);
        if (report == nullptr) return {"failed"};
        for (const auto& row : *report) {
            lines.push_back(Format("%i", row->CDataHeat::serial) + "|" +
                            std::string(row->CDataObject::no.view()) + "|" +
                            std::string(row->date.view()) + "|" + Shown(row->max_q_cooling) + "|" +
                            Shown(row->max_q) + "|" + Shown(row->max_v) + "|" + Shown(row->max_t1) +
                            "|" + Shown(row->max_t2) + "|" + Shown(row->max_dt) + "|" +
                            std::string(row->first_date.view()) + "|" + Shown(row->first_q) + "|" +
                            Shown(row->last_q));
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }
    // What the report over the readings gives.
    std::vector<std::string> Reference(const char* first = "2024-03-01",
                                       const char* last = "2024-03-31") {
        std::vector<std::string> lines;
        CQueryRows rows(db_.Database, FormatStatement(kReference, first, last, bid_));
        while (rows.Next()) {
            std::string line = Format("%i", rows.Int(0));
            for (int col = 1; col < 12; ++col) {
                const bool text = col == 1 || col == 2 || col == 9;
                line += "|" + (text ? std::string(rows.Text(col)) : Shown(rows.Number(col)));
            }
            lines.push_back(line);
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }
    void Write(const std::string& statement) {
        const CExecuteResult result = db_.Database.Run(statement.c_str());
        EXPECT_TRUE(result.Ok()) << statement << ": " << result.error;
    }
    void ExpectTheReportOfTheReadings(const char* after) {
        EXPECT_EQ(Report(), Reference()) << after;
        EXPECT_EQ(QueryInt(DayRowsDiffering()), 0) << after;
    }

    int bid_ = 0;
};

// Three readings of meter 1 on 5 March, the largest energy at 09:00.
constexpr const char* kThreeReadings =
    "INSERT INTO heat_data_current(devid, date, q, t1) VALUES (1, '2024-03-05 08:00', 5, 60), "
    "(1, '2024-03-05 09:00', 9, 70), (1, '2024-03-05 10:00', 7, 65);";

TEST_F(DailyMaximaTest, EveryConflictClauseOfAnotherToolKeepsTheReportTrue) {
    Write(kThreeReadings);
    ExpectTheReportOfTheReadings("plain inserts");
    Write(
        "INSERT OR REPLACE INTO heat_data_current(devid, date, q) VALUES "
        "(1, '2024-03-05 11:00', 8);");
    ExpectTheReportOfTheReadings("a new reading replacing nothing keeps the day's maxima");
    int minute = 0;
    for (const char* clause : {"OR ABORT", "OR FAIL", "OR ROLLBACK", "OR IGNORE"}) {
        Write(
            Format("INSERT %s INTO heat_data_current(devid, date, q) VALUES "
                   "(1, '2024-03-05 12:%02i', 6);",
                   clause, ++minute));
        ExpectTheReportOfTheReadings(clause);
    }
    EXPECT_EQ(QueryInt("SELECT count(*) FROM heat_data_current;"), 8) << "none of them was lost";

    Write(
        "INSERT INTO heat_data_current(devid, date, q) VALUES (1, '2024-03-05 13:00', 4) "
        "ON CONFLICT(date, devid) DO UPDATE SET q = excluded.q;");
    ExpectTheReportOfTheReadings("an upsert of a new reading");
    Write(
        "INSERT INTO heat_data_current(devid, date, q) VALUES (1, '2024-03-05 09:00', 2) "
        "ON CONFLICT(date, devid) DO UPDATE SET q = excluded.q;");
    ExpectTheReportOfTheReadings("an upsert onto the reading of the largest energy");

    Write(
        "INSERT OR REPLACE INTO heat_data_current(devid, date, q, t1) VALUES "
        "(1, '2024-03-05 13:00', 1, 1);");
    ExpectTheReportOfTheReadings("a replaced latest reading leaves none of its values");
    Write(
        "UPDATE OR REPLACE heat_data_current SET date = '2024-03-05 08:00' WHERE date = "
        "'2024-03-05 10:00';");
    ExpectTheReportOfTheReadings("an update that replaced another reading");
    Write(
        "INSERT OR REPLACE INTO heat_data_current(devid, date, q) VALUES "
        "(2, '2024-03-06 00:00', 3), (2, '2024-03-06 00:00', 4);");
    ExpectTheReportOfTheReadings("a reading replaced in the same statement");
}

// A tool changes a readings table the way database tools do: rename it, create the new one,
// copy the rows, drop the old. The triggers go with the old table.
TEST_F(DailyMaximaTest, ARebuiltReadingsTableGetsItsTriggersAndDaysBackAtTheNextOpen) {
    Write(kThreeReadings);
    Write(std::string("ALTER TABLE heat_data_current RENAME TO heat_data_old; ") +
          Schema::kCreateHeatData +
          " INSERT INTO heat_data_current SELECT * FROM heat_data_old; DROP TABLE heat_data_old;");
    EXPECT_EQ(QueryInt("SELECT count(*) FROM sqlite_master WHERE type = 'trigger';"), 8);
    Write("INSERT INTO heat_data_current(devid, date, q) VALUES (1, '2024-03-06 08:00', 11);");
    EXPECT_NE(Report(), Reference()) << "the reading missed the day table";

    CSQLite3Controller reopened("./local.db");
    EXPECT_EQ(QueryInt("SELECT count(*) FROM sqlite_master WHERE type = 'trigger';"), 12);
    ExpectTheReportOfTheReadings("after the open");
    Write("INSERT INTO heat_data_current(devid, date, q) VALUES (1, '2024-03-07 08:00', 12);");
    ExpectTheReportOfTheReadings("a later reading reaches the report again");
}

TEST_F(DailyMaximaTest, AChangedTriggerIsMadeAgainWithItsDayTableAndAnIntactOneIsLeft) {
    Write(kThreeReadings);
    // A day row no reading gives: only a rebuild removes it.
    Write("INSERT INTO heat_data_daily(devid, day, date) VALUES (9, '2024-01-01', 'x');");
    { CSQLite3Controller reopened("./local.db"); }
    EXPECT_EQ(QueryInt("SELECT count(*) FROM heat_data_daily WHERE devid = 9;"), 1)
        << "intact triggers: the day table is not made again at every open";

    Write(
        "DROP TRIGGER heat_data_daily_update_new; CREATE TRIGGER heat_data_daily_update_new "
        "AFTER UPDATE ON heat_data_current BEGIN SELECT 1; END;");
    { CSQLite3Controller reopened("./local.db"); }
    EXPECT_EQ(QueryInt("SELECT count(*) FROM heat_data_daily WHERE devid = 9;"), 0);
    Write("UPDATE heat_data_current SET q = 20 WHERE date = '2024-03-05 08:00';");
    ExpectTheReportOfTheReadings("the trigger as the program makes it");
}

// Random writes of every kind, with nulls, texts and numbers where dates and values belong;
// the day table is compared with the readings every few steps. VEVO_MAXIMA_SEED repeats a run.
TEST_F(DailyMaximaTest, RandomWritesOfEveryKindKeepTheDayTableEqualToTheReadings) {
    const char* given = std::getenv("VEVO_MAXIMA_SEED");
    const unsigned seed = given != nullptr ? static_cast<unsigned>(std::strtoul(given, nullptr, 10))
                                           : std::random_device{}();
    SCOPED_TRACE("VEVO_MAXIMA_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);
    // Each write commits on its own, as a tool's would; the disk need not see every commit.
    Write("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY;");
    const auto chance = [&](double p) {
        return std::uniform_real_distribution<>(0, 1)(random) < p;
    };
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<>(low, high)(random);
    };
    const auto value = [&]() -> std::string {
        if (chance(0.1)) return "NULL";
        if (chance(0.05)) return "'abc'";
        if (chance(0.2)) return Format("%i", pick(0, 20));
        return Format("%i.%02i", pick(0, 19), pick(0, 99));
    };
    const auto date = [&]() -> std::string {
        if (chance(0.03)) return "NULL";
        if (chance(0.03)) return Format("%i", 20240300 + pick(1, 3));
        return Format("'2024-03-0%i %02i:%02i'", pick(1, 3), pick(0, 23), pick(0, 1) * 30);
    };
    const auto meter = [&]() -> std::string {
        return chance(0.03) ? std::string("NULL") : Format("%i", pick(1, 3));
    };
    const char* inserts[] = {"",          "OR REPLACE ", "OR IGNORE ",
                             "OR ABORT ", "OR FAIL ",    "OR ROLLBACK "};
    const char* updates[] = {"", "OR REPLACE ", "OR IGNORE "};
    for (int step = 1; step <= 1000; ++step) {
        const std::string values = "(" + meter() + ", " + date() + ", " + value() + ", " + value() +
                                   ", " + value() + ", " + value() + ", " + value() + ", " +
                                   value() + ")";
        const char* columns = "(devid, date, q_cooling, q, v, t1, t2, dt)";
        const int kind = pick(0, 9);
        std::string statement;
        if (kind < 4) {
            statement = std::string("INSERT ") + inserts[pick(0, 5)] + "INTO heat_data_current" +
                        columns + " VALUES " + values;
        } else if (kind < 5) {
            statement = std::string("INSERT INTO heat_data_current") + columns + " VALUES " +
                        values + " ON CONFLICT(date, devid) DO UPDATE SET q = excluded.q";
        } else if (kind < 7) {
            statement = std::string("UPDATE ") + updates[pick(0, 2)] +
                        "heat_data_current SET q = " + value() + ", date = coalesce(" +
                        (chance(0.3) ? date() : "NULL") +
                        ", date) WHERE hid = " + Format("%i", pick(1, 150));
        } else if (kind < 9) {
            statement = Format("DELETE FROM heat_data_current WHERE hid = %i", pick(1, 150));
        } else {
            statement = "UPDATE heat_data_current SET t1 = " + value() +
                        " WHERE devid = " + meter() +
                        Format(" AND substr(date, 1, 10) = '2024-03-0%i'", pick(1, 3));
        }
        // A reading refused for its own conflict is the writer's business; a day table that
        // refuses one is ours.
        const CExecuteResult result = db_.Database.Run((statement + ";").c_str());
        ASSERT_EQ(result.error.find("_daily"), std::string::npos) << statement;
        if (step % 40 == 0) {
            ASSERT_EQ(QueryInt(DayRowsDiffering()), 0)
                << "after step " << step << ": " << statement;
        }
    }
    EXPECT_EQ(Report(), Reference());
}

}  // namespace
