#include "database/SQLite3.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "support/TempWorkDir.h"

namespace {

// The schema as it must stand in every file, written out here independently of the program.
const std::map<std::string, std::string> kExpectedCreateTexts = {
    {"heat_data_current",
     "CREATE TABLE heat_data_current(hid INTEGER PRIMARY KEY, devid INTEGER, date DATETIME, q_cooling REAL( 10, 3 ), q REAL( 10, 3 ), v REAL( 10, 3 ), t1 REAL( 5, 2 ), t2 REAL( 5, 2 ), dt REAL( 5, 2 ), running_time_hour INTEGER, UNIQUE ( DATE, DEVID ))"},
    {"water_cold_data_current",
     "CREATE TABLE water_cold_data_current(id INTEGER PRIMARY KEY, devid INTEGER, date DATETIME, v REAL(10, 3), v_flow REAL(10, 3), bat REAL(5, 2), running_time_minute INTEGER, v_reverse REAL(10, 3), UNIQUE ( DATE, DEVID ))"},
    {"water_hot_data_current",
     "CREATE TABLE water_hot_data_current(id INTEGER PRIMARY KEY, devid INTEGER, date DATETIME, v REAL(10, 3), v_flow REAL(10, 3), bat REAL(5, 2), running_time_minute INTEGER, v_reverse REAL(10, 3), UNIQUE ( DATE, DEVID ))"},
    {"buildings",
     "CREATE TABLE buildings (bid INTEGER PRIMARY KEY, `gid` INTEGER DEFAULT 0, street TEXT DEFAULT NULL, no TEXT DEFAULT NULL, city_id INT DEFAULT NULL, index_ TEXT DEFAULT NULL)"},
    {"app",
     "CREATE TABLE app (aid INTEGER PRIMARY KEY, bid INTEGER NOT NULL, no INTEGER DEFAULT NULL, licno TEXT DEFAULT NULL, name TEXT DEFAULT NULL, fname TEXT DEFAULT NULL, sname TEXT DEFAULT NULL, total_floor_area REAL DEFAULT NULL, heated_floor_area REAL DEFAULT NULL, num_reg_peopl INTEGER DEFAULT NULL, type_room INTEGER DEFAULT NULL, mzk INTEGER DEFAULT NULL, UNIQUE (`bid`,`no`) FOREIGN KEY(bid) REFERENCES buildings(bid))"},
    // The library records an added column by rewriting the stored text.
    {"devices_heat",
     "CREATE TABLE devices_heat (devid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, serial INTEGER, aid INTEGER DEFAULT ( 0 ), date_install DATE, date_initial_verification DATE, calibration_interval INTEGER, position INTEGER DEFAULT 0 CHECK(position IN (0,1)), UNIQUE (serial ))"},
    {"devices_water_cold",
     "CREATE TABLE devices_water_cold (devid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, serial INTEGER, aid INTEGER DEFAULT ( 0 ), date_install DATE, date_initial_verification DATE, calibration_interval INTEGER, UNIQUE (serial ))"},
    {"devices_water_hot",
     "CREATE TABLE devices_water_hot (devid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, serial INTEGER, aid INTEGER DEFAULT ( 0 ), date_install DATE, date_initial_verification DATE, calibration_interval INTEGER, UNIQUE (serial ))"},
};

std::map<std::string, std::string> StoredTables(CSQLite3& db) {
    std::map<std::string, std::string> tables;
    CQueryRows rows(db, "SELECT name, sql FROM sqlite_master WHERE type='table' AND name != 'sqlite_sequence' AND name NOT LIKE '%_daily';");
    while (rows.Next()) tables[std::string(rows.Text(0))] = rows.Text(1);
    return tables;
}

std::string LastColumnOf(CSQLite3& db, const char* table) {
    std::string last;
    CQueryRows rows(db, std::string("pragma table_info('") + table + "');");
    while (rows.Next()) last = rows.Text(1);
    return last;
}

}  // namespace

TEST(SQLite3, ANewFileGetsExactlyTheEightTables) {
    CTempWorkDir dir;
    CSQLite3Controller controller("./local.db");
    EXPECT_EQ(StoredTables(controller.Database), kExpectedCreateTexts);
    EXPECT_EQ(LastColumnOf(controller.Database, "devices_heat"), "position");
    EXPECT_EQ(controller.Database.GetUserVersion(), 0);
    EXPECT_FALSE(std::filesystem::exists("console.log"));
}

TEST(SQLite3, AnOlderFileGainsPositionOnceAndKeepsItsMeters) {
    CTempWorkDir dir;
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open("local.db", &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw,
                               "CREATE TABLE devices_heat (devid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, serial INTEGER, aid INTEGER DEFAULT ( 0 ), date_install DATE, date_initial_verification DATE, calibration_interval INTEGER, UNIQUE (serial ));"
                               "INSERT INTO devices_heat(serial) VALUES (11), (12);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(raw);
    }
    {
        CSQLite3Controller controller("./local.db");
        EXPECT_TRUE(controller.Database.ColumnExists("devices_heat", "position"));
        CQueryRows rows(controller.Database, "SELECT serial, position FROM devices_heat ORDER BY serial;");
        int count = 0;
        while (rows.Next()) {
            EXPECT_EQ(rows.Int(0), 11 + count);
            EXPECT_EQ(rows.Int(1), 0);
            ++count;
        }
        EXPECT_EQ(count, 2);
    }
    CSQLite3Controller again("./local.db");
    EXPECT_EQ(StoredTables(again.Database).size(), 8u);
    EXPECT_FALSE(std::filesystem::exists("console.log")) << "a second start runs no failing statement";
}

TEST(SQLite3, AFileThatIsNotADatabaseFailsEveryQueryAndLogsIt) {
    CTempWorkDir dir;
    WriteFile("local.db", std::string(4096, 'g'));
    CSQLite3Controller controller("./local.db");
    sqlite3_stmt* statement = nullptr;
    EXPECT_FALSE(controller.Database.Query("SELECT * FROM app;", &statement));
    EXPECT_FALSE(controller.Database.TableExists("app"));
    EXPECT_FALSE(controller.Database.Execute("CREATE TABLE t(x);"));
    EXPECT_EQ(controller.Database.ExecuteInsert("INSERT INTO app(bid) VALUES (1);"), 0);
    EXPECT_EQ(controller.Database.GetUserVersion(), -1);
    const std::string log = ReadFile("console.log");
    EXPECT_NE(log.find("\nQuery failed: file is not a database;\n"), std::string::npos) << log;
    EXPECT_EQ(ReadFile("local.db"), std::string(4096, 'g')) << "the file is left as it was";
}

TEST(SQLite3, QueryCompilesOnlyTheFirstStatement) {
    CTempWorkDir dir;
    CSQLite3Controller controller("./local.db");
    sqlite3_stmt* statement = nullptr;
    ASSERT_TRUE(controller.Database.Query("SELECT 7; DROP TABLE app;", &statement));
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), 7);
    sqlite3_finalize(statement);
    EXPECT_TRUE(controller.Database.TableExists("app"));
}

TEST(SQLite3, ExecuteInsertReturnsTheNewRowid) {
    CTempWorkDir dir;
    CSQLite3Controller controller("./local.db");
    EXPECT_EQ(controller.Database.ExecuteInsert("INSERT INTO buildings(street) VALUES ('a');"), 1);
    EXPECT_EQ(controller.Database.ExecuteInsert("INSERT INTO buildings(street) VALUES ('b');"), 2);
    EXPECT_EQ(controller.Database.GetLastInsertId(), 2);
    EXPECT_EQ(controller.Database.ExecuteInsert("INSERT INTO nowhere VALUES (1);"), 0);
}

TEST(SQLite3, CloseTwiceIsHarmless) {
    CTempWorkDir dir;
    CSQLite3 database("./local.db");
    database.Close();
    database.Close();
    sqlite3_stmt* statement = nullptr;
    EXPECT_FALSE(database.Query("SELECT 1;", &statement));
    EXPECT_FALSE(database.Execute("SELECT 1;"));
}
