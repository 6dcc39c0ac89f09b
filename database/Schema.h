#pragma once

// The schema of local.db. The texts are kept exactly as they have always been run, so files
// made by any build compare equal in sqlite_master.
namespace Schema {

inline constexpr const char* kCreateHeatData =
    "CREATE TABLE heat_data_current(hid INTEGER PRIMARY KEY, devid INTEGER, date DATETIME, "
    "q_cooling REAL( 10, 3 ), q REAL( 10, 3 ), v REAL( 10, 3 ), t1 REAL( 5, 2 ), t2 REAL( 5, 2 ), "
    "dt REAL( 5, 2 ), running_time_hour INTEGER, UNIQUE ( DATE, DEVID ));";
inline constexpr const char* kCreateWaterColdData =
    "CREATE TABLE water_cold_data_current(id INTEGER PRIMARY KEY, devid INTEGER, date DATETIME, "
    "v REAL(10, 3), v_flow REAL(10, 3), bat REAL(5, 2), running_time_minute INTEGER, "
    "v_reverse REAL(10, 3), UNIQUE ( DATE, DEVID ));";
inline constexpr const char* kCreateWaterHotData =
    "CREATE TABLE water_hot_data_current(id INTEGER PRIMARY KEY, devid INTEGER, date DATETIME, "
    "v REAL(10, 3), v_flow REAL(10, 3), bat REAL(5, 2), running_time_minute INTEGER, "
    "v_reverse REAL(10, 3), UNIQUE ( DATE, DEVID ));";
inline constexpr const char* kCreateBuildings =
    "CREATE TABLE buildings (bid INTEGER PRIMARY KEY, `gid` INTEGER DEFAULT 0, street TEXT DEFAULT "
    "NULL, no TEXT DEFAULT NULL, city_id INT DEFAULT NULL, index_ TEXT DEFAULT NULL);";
inline constexpr const char* kCreateApartments =
    "CREATE TABLE app (aid INTEGER PRIMARY KEY, bid INTEGER NOT NULL, no INTEGER DEFAULT NULL, "
    "licno TEXT DEFAULT NULL, name TEXT DEFAULT NULL, fname TEXT DEFAULT NULL, sname TEXT DEFAULT "
    "NULL, total_floor_area REAL DEFAULT NULL, heated_floor_area REAL DEFAULT NULL, num_reg_peopl "
    "INTEGER DEFAULT NULL, type_room INTEGER DEFAULT NULL, mzk INTEGER DEFAULT NULL, UNIQUE "
    "(`bid`,`no`) FOREIGN KEY(bid) REFERENCES buildings(bid));";
inline constexpr const char* kCreateDevicesHeat =
    "CREATE TABLE devices_heat (devid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, serial INTEGER, "
    "aid INTEGER DEFAULT ( 0 ), date_install DATE, date_initial_verification DATE, "
    "calibration_interval INTEGER, UNIQUE (serial ));";
inline constexpr const char* kAddHeatPosition =
    "ALTER TABLE devices_heat ADD COLUMN position INTEGER DEFAULT 0 CHECK(position IN (0,1));";
inline constexpr const char* kCreateDevicesWaterCold =
    "CREATE TABLE devices_water_cold (devid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, serial "
    "INTEGER, aid INTEGER DEFAULT ( 0 ), date_install DATE, date_initial_verification DATE, "
    "calibration_interval INTEGER, UNIQUE (serial ));";
inline constexpr const char* kCreateDevicesWaterHot =
    "CREATE TABLE devices_water_hot (devid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, serial "
    "INTEGER, aid INTEGER DEFAULT ( 0 ), date_install DATE, date_initial_verification DATE, "
    "calibration_interval INTEGER, UNIQUE (serial ));";

// The program's tables in the order they are created.
inline constexpr const char* kTableNames[] = {
    "heat_data_current", "water_cold_data_current", "water_hot_data_current", "buildings", "app",
    "devices_heat",      "devices_water_cold",      "devices_water_hot",
};

}  // namespace Schema
