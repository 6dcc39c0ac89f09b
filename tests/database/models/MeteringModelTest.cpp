#include <gtest/gtest.h>

#include <string>

#include "ModelFixture.h"
#include "Utils/Format.h"

namespace {

class MeteringModelTest : public ModelTest {
protected:
    MeteringModelTest() {
        bid_ = AddBuilding("Main");
        otherBid_ = AddBuilding("Other");
        aid_ = AddApartment(bid_, "12");
        otherAid_ = AddApartment(otherBid_, "3");
    }

    int bid_ = 0, otherBid_ = 0, aid_ = 0, otherAid_ = 0;
};

TEST_F(MeteringModelTest, OneHeatRowPerMeterWithTheLatestDateAndTheLargestValues) {
    const int devid = AddDevice(db_.DeviceHeatModel, 11111111, aid_);
    CDataHeat early = HeatReading(devid, "2024-01-10 08:00", "7.5");
    early.t1 = "80.5";
    CDataHeat late = HeatReading(devid, "2024-01-20 08:00", "9.25");
    late.t1 = "60.5";
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(early), InsertReadingResult::Stored);
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(late), InsertReadingResult::Stored);
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(devid, "2024-02-01 08:00", "99")),
              InsertReadingResult::Stored);

    const auto report = db_.MeteringModel.GetHeatArchive(bid_, "2024-01-01", "2024-01-31");
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(report->Count(), 1);
    const CDataHeatArchive& row = *report->Get(0);
    EXPECT_EQ(row.CDataHeat::serial, 11111111);
    EXPECT_EQ(row.CDataObject::no, "12") << "the apartment number";
    EXPECT_EQ(row.date, "2024-01-20 08:00");
    EXPECT_EQ(row.max_q, 9.25);
    EXPECT_EQ(row.max_t1, 80.5) << "each column's largest value, whatever reading it came from";
    EXPECT_EQ(row.max_q_cooling, 0.1);
    EXPECT_EQ(row.max_v, 2.25);
    EXPECT_EQ(row.max_t2, 50.25);
    EXPECT_EQ(row.max_dt, 20.25);
    EXPECT_EQ(row.first_date, "2024-01-10 08:00");
    EXPECT_EQ(row.first_q, 7.5);
    EXPECT_EQ(row.last_q, 9.25);
    EXPECT_EQ(row.CDevice::serial, 0) << "the meter part stays empty";
    EXPECT_EQ(row.subscriber, nullptr);
}

TEST_F(MeteringModelTest, TheRangeCoversTheFirstAndLastDayWhole) {
    const int devid = AddDevice(db_.DeviceWaterColdModel, 1, aid_);
    for (const char* date : {"2024-03-01 00:00:00", "2024-03-31 23:59:59", "2024-02-29 23:59:59",
                             "2024-04-01 00:00:00"}) {
        ASSERT_EQ(db_.DeviceWaterColdModel.InsertReading(WaterReading(devid, date)),
                  InsertReadingResult::Stored);
    }
    const auto march = db_.MeteringModel.GetWaterColdArchive(bid_, "2024-03-01", "2024-03-31");
    ASSERT_EQ(march->Count(), 1);
    EXPECT_EQ(march->Get(0)->date, "2024-03-31 23:59:59");

    const auto firstDay = db_.MeteringModel.GetWaterColdArchive(bid_, "2024-03-01", "2024-03-01");
    ASSERT_EQ(firstDay->Count(), 1);
    EXPECT_EQ(firstDay->Get(0)->date, "2024-03-01 00:00:00");

    const auto reversed = db_.MeteringModel.GetWaterColdArchive(bid_, "2024-03-31", "2024-03-01");
    ASSERT_NE(reversed, nullptr);
    EXPECT_EQ(reversed->Count(), 0);
}

TEST_F(MeteringModelTest, WaterRowsCarryEveryAggregatedColumn) {
    const int devid = AddDevice(db_.DeviceWaterHotModel, 22222222, aid_);
    ASSERT_EQ(db_.DeviceWaterHotModel.InsertReading(WaterReading(devid, "2024-05-05 10:00:00")),
              InsertReadingResult::Stored);
    const auto report = db_.MeteringModel.GetWaterHotArchive(bid_, "2024-05-01", "2024-05-31");
    ASSERT_EQ(report->Count(), 1);
    const CDataWaterArchive& row = *report->Get(0);
    EXPECT_EQ(row.CDataWater::serial, 22222222);
    EXPECT_EQ(row.CDataObject::no, "12");
    EXPECT_EQ(row.date, "2024-05-05 10:00:00");
    EXPECT_EQ(row.max_v, 3.5);
    EXPECT_EQ(row.max_v_flow, 0.75);
    EXPECT_EQ(row.max_bat, 3.6);
    EXPECT_EQ(row.running_time_minute, 90);
    EXPECT_EQ(row.max_v_reverse, 0.01);
    EXPECT_EQ(row.first_date, "2024-05-05 10:00:00");
    EXPECT_EQ(row.first_v, 3.5);
    EXPECT_EQ(row.last_v, 3.5);
}

TEST_F(MeteringModelTest, AHotWaterReadingNeverAppearsInTheColdWaterReport) {
    const int cold = AddDevice(db_.DeviceWaterColdModel, 1, aid_);
    const int hot = AddDevice(db_.DeviceWaterHotModel, 2, aid_);
    ASSERT_EQ(cold, hot) << "both tables number their meters from 1";
    ASSERT_EQ(db_.DeviceWaterHotModel.InsertReading(WaterReading(hot, "2024-05-05 10:00:00")),
              InsertReadingResult::Stored);

    const auto coldReport = db_.MeteringModel.GetWaterColdArchive(bid_, "2024-05-01", "2024-05-31");
    ASSERT_NE(coldReport, nullptr);
    EXPECT_EQ(coldReport->Count(), 0);
    const auto hotReport = db_.MeteringModel.GetWaterHotArchive(bid_, "2024-05-01", "2024-05-31");
    ASSERT_EQ(hotReport->Count(), 1);
    EXPECT_EQ(hotReport->Get(0)->CDataWater::serial, 2);
}

TEST_F(MeteringModelTest, OnlyMetersBoundToTheBuildingWithReadingsInTheRangeAreListed) {
    const int here = AddDevice(db_.DeviceHeatModel, 1, aid_);
    const int silent = AddDevice(db_.DeviceHeatModel, 2, aid_);
    const int elsewhere = AddDevice(db_.DeviceHeatModel, 3, otherAid_);
    const int unbound = AddDevice(db_.DeviceHeatModel, 4);
    for (int devid : {here, elsewhere, unbound}) {
        ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(devid, "2024-01-10 08:00")),
                  InsertReadingResult::Stored);
    }
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(silent, "2023-12-31 23:59")),
              InsertReadingResult::Stored);

    const auto report = db_.MeteringModel.GetHeatArchive(bid_, "2024-01-01", "2024-01-31");
    ASSERT_EQ(report->Count(), 1);
    EXPECT_EQ(report->Get(0)->CDataHeat::serial, 1);

    const auto none = db_.MeteringModel.GetHeatArchive(bid_, "2025-01-01", "2025-01-31");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->Count(), 0);
}

TEST_F(BrokenDatabaseTest, ReportsOfAFailedQueryAreNullWithSQLitesReason) {
    CReadFailure failure;
    EXPECT_EQ(db_.MeteringModel.GetHeatArchive(1, "2024-01-01", "2024-01-31", &failure), nullptr);
    EXPECT_EQ(failure.reason, "file is not a database");
    EXPECT_EQ(db_.MeteringModel.GetWaterColdArchive(1, "2024-01-01", "2024-01-31"), nullptr);
    EXPECT_EQ(db_.MeteringModel.GetWaterHotArchive(1, "2024-01-01", "2024-01-31"), nullptr);
    EXPECT_EQ(db_.MeteringModel.GetWaterHotSilent(1, "2024-01-01", "2024-01-31"), nullptr);
}

}  // namespace

// Heat readings are dated to the minute, water readings to the second: a reading at midnight of
// the first day and one in the last minute of the last day count in both forms.
TEST_F(MeteringModelTest, WholeDaysCountForMinuteAndSecondDates) {
    const int heat = AddDevice(db_.DeviceHeatModel, 5, aid_);
    for (const char* date : {"2024-03-01 00:00", "2024-02-29 23:59"}) {
        ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(heat, date)),
                  InsertReadingResult::Stored);
    }
    const auto firstDay = db_.MeteringModel.GetHeatArchive(bid_, "2024-03-01", "2024-03-01");
    ASSERT_EQ(firstDay->Count(), 1) << "the midnight reading of the first day";
    EXPECT_EQ(firstDay->Get(0)->date, "2024-03-01 00:00");
    const auto lastDay = db_.MeteringModel.GetHeatArchive(bid_, "2024-02-29", "2024-02-29");
    ASSERT_EQ(lastDay->Count(), 1) << "the last minute of the last day";
    EXPECT_EQ(lastDay->Get(0)->date, "2024-02-29 23:59");

    const int cold = AddDevice(db_.DeviceWaterColdModel, 6, aid_);
    ASSERT_EQ(db_.DeviceWaterColdModel.InsertReading(WaterReading(cold, "2024-03-01 00:00:00")),
              InsertReadingResult::Stored);
    const auto water = db_.MeteringModel.GetWaterColdArchive(bid_, "2024-03-01", "2024-03-01");
    ASSERT_EQ(water->Count(), 1);
    const auto dayBefore = db_.MeteringModel.GetWaterColdArchive(bid_, "2024-02-29", "2024-02-29");
    EXPECT_EQ(dayBefore->Count(), 0);
}

// The reports read daily maxima that triggers keep: a reading that held a maximum and goes, or
// changes, must lower it, and readings no report can count must not stop an insert.
TEST_F(MeteringModelTest, DailyMaximaFollowDeletesAndUpdatesOfTheReadings) {
    const int devid = AddDevice(db_.DeviceHeatModel, 7, aid_);
    for (const auto& [date, q] : {std::pair{"2024-03-05 08:00", "5"},
                                  {"2024-03-05 09:00", "9"},
                                  {"2024-03-05 10:00", "7"}}) {
        ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(devid, date, q)),
                  InsertReadingResult::Stored);
    }
    const auto latest = [&] {
        const auto report = db_.MeteringModel.GetHeatArchive(bid_, "2024-03-05", "2024-03-05");
        return report->Count() == 0 ? std::string("none")
                                    : std::string(report->Get(0)->date.view()) + " " +
                                          Format("%.1f", report->Get(0)->max_q.value_or(-1));
    };
    EXPECT_EQ(latest(), "2024-03-05 10:00 9.0");

    ASSERT_TRUE(
        db_.Database.Execute("DELETE FROM heat_data_current WHERE date = '2024-03-05 10:00';"));
    EXPECT_EQ(latest(), "2024-03-05 09:00 9.0");
    ASSERT_TRUE(db_.Database.Execute("UPDATE heat_data_current SET q = 1 WHERE q = 9;"));
    EXPECT_EQ(latest(), "2024-03-05 09:00 5.0");
    ASSERT_TRUE(
        db_.Database.Execute("UPDATE heat_data_current SET date = '2024-03-06 09:00' "
                             "WHERE date = '2024-03-05 09:00';"));
    EXPECT_EQ(latest(), "2024-03-05 08:00 5.0");

    EXPECT_TRUE(db_.Database.Execute(
        "INSERT INTO heat_data_current(devid, date, q) VALUES (NULL, '2024-03-05 11:00', 50), "
        "(7, NULL, 50), (7, 20240305, 50);"));
    EXPECT_EQ(latest(), "2024-03-05 08:00 5.0");
    ASSERT_TRUE(db_.Database.Execute("DELETE FROM heat_data_current;"));
    EXPECT_EQ(latest(), "none");
}

// A file written before the daily maxima existed gets them from the readings it holds; one
// whose table went but whose triggers stayed gets them whole again.
TEST(DailyMaxima, AnOlderFileGetsThemFromItsReadings) {
    CTempWorkDir dir;
    {
        CSQLite3Controller controller("./local.db");
        ASSERT_TRUE(controller.Database.Execute(
            "INSERT INTO water_hot_data_current(devid, date, v) VALUES "
            "(1, '2024-05-02 10:00:00', 4.5), (1, '2024-05-03 10:00:00', 3.5); "
            "DROP TABLE water_hot_data_daily;"));
    }
    CSQLite3Controller controller("./local.db");
    CDataObject building;
    building.no = "1";
    CDataSubscriber apartment;
    apartment.bid = controller.ObjectModel.InsertObject(building);
    apartment.no = "1";
    CDevice meter;
    meter.serial = 1;
    meter.aid = controller.SubscriberModel.InsertSubscriber(apartment);
    ASSERT_EQ(controller.DeviceWaterHotModel.InsertDevice(meter), 1);

    const auto report =
        controller.MeteringModel.GetWaterHotArchive(apartment.bid, "2024-05-01", "2024-05-31");
    ASSERT_EQ(report->Count(), 1);
    EXPECT_EQ(report->Get(0)->date, "2024-05-03 10:00:00");
    EXPECT_EQ(report->Get(0)->max_v, 4.5);
}
