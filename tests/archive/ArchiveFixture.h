#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Utils/TextConversion.h"
#include "app/ProgramObjects.h"
#include "archive/ArchiveGrid.h"
#include "support/TempWorkDir.h"

// A fresh working directory with the program's objects on its local.db, and short ways to store
// buildings, apartments, meters and readings as the screens and the polling store them.
class ArchiveTest : public ::testing::Test {
protected:
    CTempWorkDir dir_;
    CProgramObjects program_;

    static int AddBuilding(const std::string& street, const std::string& house) {
        CDataObject building;
        building.street = Utf8ToCp1251(street);
        building.no = Utf8ToCp1251(house);
        return DbController->ObjectModel.InsertObject(building);
    }
    static int AddApartment(int bid, const std::string& no) {
        CDataSubscriber apartment;
        apartment.bid = bid;
        apartment.no = Utf8ToCp1251(no);
        return DbController->SubscriberModel.InsertSubscriber(apartment);
    }
    static int AddMeter(CDeviceBaseModel& model, int serial, int aid) {
        CDeviceHeat meter;
        meter.serial = serial;
        meter.aid = aid;
        return model.InsertDevice(meter);
    }
    static void AddHeatReading(int devid, const std::string& date, const std::string& q) {
        CDataHeat reading;
        reading.devid = devid;
        reading.date = date;
        reading.q_cooling = "0";
        reading.q = q;
        reading.v = "12.5";
        reading.t1 = "70.5";
        reading.t2 = "50.25";
        reading.dt = "20.25";
        ASSERT_EQ(DbController->DeviceHeatModel.InsertReading(reading),
                  InsertReadingResult::Stored);
    }
    static void AddWaterReading(CDeviceWaterModel& model, int devid, const std::string& date) {
        CDataWater reading;
        reading.devid = devid;
        reading.date = date;
        reading.v = "3.5";
        reading.v_flow = "0.75";
        reading.bat = "3.6";
        reading.running_time_minute = 90;
        reading.v_reverse = "0.01";
        ASSERT_EQ(model.InsertReading(reading), InsertReadingResult::Stored);
    }
};

// Appends a row of `what` to the grid with the given cells from the first column on.
inline void AddGridRow(CArchiveGrid& grid, ArchiveRow what, const std::vector<std::string>& cells) {
    const int row = grid.AddRow(what);
    for (std::size_t col = 0; col < cells.size(); ++col)
        grid.SetCell(static_cast<int>(col), row, cells[col]);
}

// The workbook's sheet as read_sheet.py prints it, read back by a reader that is no part of
// the program.
inline std::string ReadSheet(const std::string& path) {
    const std::string command =
        "/usr/bin/python3 " VEVO_TESTS_DIR "/read_sheet.py '" + path + "' 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}
