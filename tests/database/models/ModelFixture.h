#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "support/TempWorkDir.h"

// Readings as the reply decoder makes them.
inline CDataHeat HeatReading(int devid, const std::string& date, const std::string& q = "1.5") {
    CDataHeat reading;
    reading.devid = devid;
    reading.date = date;
    reading.q_cooling = "0.1";
    reading.q = q;
    reading.v = "2.25";
    reading.t1 = "70.5";
    reading.t2 = "50.25";
    reading.dt = "20.25";
    reading.running_time_hour = 1200;
    return reading;
}

inline CDataWater WaterReading(int devid, const std::string& date, const std::string& v = "3.5") {
    CDataWater reading;
    reading.devid = devid;
    reading.date = date;
    reading.v = v;
    reading.v_flow = "0.75";
    reading.bat = "3.6";
    reading.running_time_minute = 90;
    reading.v_reverse = "0.01";
    return reading;
}

// A controller on a fresh local.db in a temporary working directory, with short ways to add
// directory rows and to look at the file directly.
class ModelTest : public ::testing::Test {
protected:
    CTempWorkDir dir_;
    CSQLite3Controller db_{"./local.db"};

    int AddBuilding(const std::string& street = "Main", const std::string& no = "1") {
        CDataObject object;
        object.street = street;
        object.no = no;
        return db_.ObjectModel.InsertObject(object);
    }

    int AddApartment(int bid, const std::string& no) {
        CDataSubscriber subscriber;
        subscriber.bid = bid;
        subscriber.no = no;
        return db_.SubscriberModel.InsertSubscriber(subscriber);
    }

    static int AddDevice(CDeviceBaseModel& model, int serial, int aid = 0, int position = 0) {
        CDeviceHeat device;
        device.serial = serial;
        device.aid = aid;
        device.position = position;
        device.date_install = "2024-01-15";
        device.date_initial_verification = "2024-01-20";
        device.calibration_interval = 48;
        return model.InsertDevice(device);
    }

    // The first column of the first row, read straight from the file.
    std::string QueryText(const std::string& statement) {
        CQueryRows rows(db_.Database, statement);
        return rows.Next() ? std::string(rows.Text(0)) : std::string("<no row>");
    }
    int QueryInt(const std::string& statement) {
        CQueryRows rows(db_.Database, statement);
        return rows.Next() ? rows.Int(0) : -1;
    }
};

// A controller whose local.db is not a database: every statement fails.
class BrokenDatabaseTest : public ::testing::Test {
protected:
    CTempWorkDir dir_;
    bool garbageWritten_ = (WriteFile("local.db", std::string(4096, 'g')), true);
    CSQLite3Controller db_{"./local.db"};
};
