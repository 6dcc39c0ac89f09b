#pragma once

// The statements of one meter table and of its readings table. The texts are the ones every
// build has run, kept byte for byte.
struct CDeviceTable {
    const char* selectAll;
    const char* selectByApartment;  // aid
    const char* selectBySerial;     // serial, unsigned
    const char* selectById;         // devid
    const char* insert;             // aid, serial, date_install, date_initial_verification,
                                    // calibration_interval[, position]
    const char* update;             // as insert, then devid
    const char* bind;               // aid, devid
    const char* unbind;             // aid
    const char* remove;             // devid
    const char* insertReading;
    const char* selectReadingsHead;
    bool hasPosition;  // only heat meters have a mounting position
};

namespace DeviceTables {

inline constexpr CDeviceTable kHeat = {
    "SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval`, `position` FROM devices_heat ",
    " SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval`, `position` FROM `devices_heat` WHERE `aid` = '%i'; ",
    " SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval`, `position` FROM `devices_heat` WHERE `serial` = '%u'",
    "SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval`, `position` FROM `devices_heat` WHERE `devid` = '%i'; ",
    "INSERT INTO devices_heat(`aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval`, `position`) VALUES ('%i', '%i', '%s', '%s', '%i', '%i');",
    "UPDATE devices_heat SET `aid` = '%i', `serial` = '%i', `date_install` = '%s', "
    "`date_initial_verification` = '%s', `calibration_interval` = '%i', `position` = '%i' WHERE "
    "`devid` = '%i';",
    "UPDATE `devices_heat` SET `aid` = '%i' WHERE `devid` = '%i';",
    "UPDATE `devices_heat` SET `aid` = 0 WHERE `aid` = '%i';",
    "DELETE FROM `devices_heat` WHERE `devid` = '%i';",
    "INSERT INTO heat_data_current(DEVID, DATE, Q_COOLING, Q, V, T1, T2, DT, RUNNING_TIME_HOUR) "
    "VALUES('%i', '%s', '%s', '%s', '%s', '%s', '%s', '%s', '%i');",
    " SELECT DEVID, DATE, Q_COOLING, Q, V, T1, T2, DT, RUNNING_TIME_HOUR FROM `heat_data_current` ",
    true,
};

inline constexpr CDeviceTable kWaterCold = {
    "SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval` FROM devices_water_cold ",
    " SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval` FROM `devices_water_cold` WHERE `aid` = '%i'; ",
    " SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval` FROM `devices_water_cold` WHERE `serial` = '%u'",
    "SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval` FROM `devices_water_cold` WHERE `devid` = '%i'; ",
    "INSERT INTO devices_water_cold(`aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval`) VALUES ('%i', '%i', '%s', '%s', '%i');",
    "UPDATE devices_water_cold SET `aid` = '%i', `serial` = '%i', `date_install` = '%s', "
    "`date_initial_verification` = '%s', `calibration_interval` = '%i' WHERE `devid` = '%i';",
    "UPDATE `devices_water_cold` SET `aid` = '%i' WHERE `devid` = '%i';",
    "UPDATE `devices_water_cold` SET `aid` = 0 WHERE `aid` = '%i';",
    "DELETE FROM `devices_water_cold` WHERE `devid` = '%i';",
    "INSERT INTO water_cold_data_current(DEVID, DATE, V, V_FLOW, BAT, RUNNING_TIME_MINUTE, "
    "V_REVERSE) VALUES('%i', '%s', '%s', '%s', '%s', '%i', '%s');",
    " SELECT DEVID, DATE, V, V_FLOW, BAT, RUNNING_TIME_MINUTE FROM `water_cold_data_current` ",
    false,
};

inline constexpr CDeviceTable kWaterHot = {
    "SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval` FROM devices_water_hot ",
    " SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval` FROM `devices_water_hot` WHERE `aid` = '%i'; ",
    " SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval` FROM `devices_water_hot` WHERE `serial` = '%u' ",
    "SELECT `devid`, `aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval` FROM `devices_water_hot` WHERE `devid` = '%i'; ",
    "INSERT INTO devices_water_hot(`aid`, `serial`, `date_install`, `date_initial_verification`, "
    "`calibration_interval`) VALUES ('%i', '%i', '%s', '%s', '%i');",
    "UPDATE devices_water_hot SET `aid` = '%i', `serial` = '%i', `date_install` = '%s', "
    "`date_initial_verification` = '%s', `calibration_interval` = '%i' WHERE `devid` = '%i';",
    "UPDATE `devices_water_hot` SET `aid` = '%i' WHERE `devid` = '%i';",
    "UPDATE `devices_water_hot` SET `aid` = 0 WHERE `aid` = '%i';",
    "DELETE FROM `devices_water_hot` WHERE `devid` = '%i';",
    "INSERT INTO water_hot_data_current(DEVID, DATE, V, V_FLOW, BAT, RUNNING_TIME_MINUTE, "
    "V_REVERSE) VALUES('%i', '%s', '%s', '%s', '%s', '%i', '%s');",
    " SELECT DEVID, DATE, V, V_FLOW, BAT, RUNNING_TIME_MINUTE FROM `water_hot_data_current` ",
    false,
};

}  // namespace DeviceTables
