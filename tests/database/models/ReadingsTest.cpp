#include <gtest/gtest.h>

#include <filesystem>

#include "ModelFixture.h"

namespace {

using ReadingsTest = ModelTest;

TEST_F(ReadingsTest, AHeatReadingRoundTripsItsTexts) {
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(3, "2024-01-31 12:30")),
              InsertReadingResult::Stored);
    const auto readings = db_.DeviceHeatModel.GetReadings(3, "", "");
    ASSERT_NE(readings, nullptr);
    ASSERT_EQ(readings->Count(), 1);
    const CDataHeat& reading = *readings->Get(0);
    EXPECT_EQ(reading.devid, 3);
    EXPECT_EQ(reading.date, "2024-01-31 12:30");
    EXPECT_EQ(reading.q_cooling, "0.1");
    EXPECT_EQ(reading.q, "1.5");
    EXPECT_EQ(reading.v, "2.25");
    EXPECT_EQ(reading.t1, "70.5");
    EXPECT_EQ(reading.t2, "50.25");
    EXPECT_EQ(reading.dt, "20.25");
    EXPECT_EQ(reading.running_time_hour, 1200);
    // The values are stored as numbers, not texts.
    EXPECT_EQ(QueryText("SELECT typeof(q) FROM heat_data_current;"), "real");
}

TEST_F(ReadingsTest, AWaterReadingStoresReverseFlowButDoesNotReadItBack) {
    ASSERT_EQ(db_.DeviceWaterColdModel.InsertReading(WaterReading(4, "2024-01-31 12:30:45")),
              InsertReadingResult::Stored);
    EXPECT_EQ(QueryText("SELECT v_reverse FROM water_cold_data_current;"), "0.01");
    const auto readings = db_.DeviceWaterColdModel.GetReadings(4, "", "");
    ASSERT_EQ(readings->Count(), 1);
    const CDataWater& reading = *readings->Get(0);
    EXPECT_EQ(reading.date, "2024-01-31 12:30:45");
    EXPECT_EQ(reading.v, "3.5");
    EXPECT_EQ(reading.v_flow, "0.75");
    EXPECT_EQ(reading.bat, "3.6");
    EXPECT_EQ(reading.running_time_minute, 90);
    EXPECT_EQ(reading.v_reverse, "");
}

TEST_F(ReadingsTest, ASecondReadingAtTheSameTimeOfTheMeterIsAlreadyStoredAndTheFirstKept) {
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(1, "2024-01-31 12:30", "1.5")),
              InsertReadingResult::Stored);
    EXPECT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(1, "2024-01-31 12:30", "9.9")),
              InsertReadingResult::AlreadyStored);
    EXPECT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(2, "2024-01-31 12:30", "9.9")),
              InsertReadingResult::Stored);
    const auto readings = db_.DeviceHeatModel.GetReadings(1, "", "");
    ASSERT_EQ(readings->Count(), 1);
    EXPECT_EQ(readings->Get(0)->q, "1.5");

    ASSERT_EQ(db_.DeviceWaterHotModel.InsertReading(WaterReading(1, "2024-01-31 12:30:45")),
              InsertReadingResult::Stored);
    EXPECT_EQ(db_.DeviceWaterHotModel.InsertReading(WaterReading(1, "2024-01-31 12:30:45")),
              InsertReadingResult::AlreadyStored);
    EXPECT_EQ(db_.DeviceWaterHotModel.InsertReading(WaterReading(1, "2024-01-31 12:30:46")),
              InsertReadingResult::Stored);
    EXPECT_FALSE(std::filesystem::exists("console.log")) << "a refused duplicate is no failure";
}

TEST_F(ReadingsTest, ReadingsComeNewestFirstWithinInclusiveTextLimits) {
    for (const char* date :
         {"2024-01-02 10:00", "2024-01-03 10:00", "2024-01-01 10:00", "2024-01-04 10:00"}) {
        ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(7, date)),
                  InsertReadingResult::Stored);
    }
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(8, "2024-01-02 11:00")),
              InsertReadingResult::Stored);

    const auto all = db_.DeviceHeatModel.GetReadings(7, "", "");
    ASSERT_EQ(all->Count(), 4);
    EXPECT_EQ(all->Get(0)->date, "2024-01-04 10:00");
    EXPECT_EQ(all->Get(3)->date, "2024-01-01 10:00");

    const auto between = db_.DeviceHeatModel.GetReadings(7, "2024-01-02 10:00", "2024-01-03 10:00");
    ASSERT_EQ(between->Count(), 2);
    EXPECT_EQ(between->Get(0)->date, "2024-01-03 10:00");
    EXPECT_EQ(between->Get(1)->date, "2024-01-02 10:00");

    EXPECT_EQ(db_.DeviceHeatModel.GetReadings(7, "2024-01-03", "")->Count(), 2);
    EXPECT_EQ(db_.DeviceHeatModel.GetReadings(7, "", "2024-01-02")->Count(), 1)
        << "texts compare as texts: a bare day sorts before that day's readings";
    EXPECT_EQ(db_.DeviceHeatModel.GetReadings(9, "", "")->Count(), 0);
}

TEST_F(ReadingsTest, QuotesInTextsAreStoredAsGivenAndTextsAreCutOnReading) {
    CDataWater reading = WaterReading(1, "2024-01-31 12:30:45");
    reading.bat = "3'6";
    ASSERT_EQ(db_.DeviceWaterColdModel.InsertReading(reading), InsertReadingResult::Stored);
    EXPECT_EQ(QueryText("SELECT bat FROM water_cold_data_current;"), "3'6");
    ASSERT_TRUE(
        db_.Database.Execute("UPDATE water_cold_data_current SET bat = '3.60000001', "
                             "date = '2024-01-31 12:30:45.123';"));
    const auto readings = db_.DeviceWaterColdModel.GetReadings(1, "", "");
    ASSERT_EQ(readings->Count(), 1);
    EXPECT_EQ(readings->Get(0)->bat, "3.60000");
    EXPECT_EQ(readings->Get(0)->date, "2024-01-31 12:30:45");
}

TEST_F(BrokenDatabaseTest, ReadingsOfDevidZeroAskNothingAndFailuresGiveNull) {
    std::filesystem::remove("console.log");  // what opening the file logged
    const auto none = db_.DeviceHeatModel.GetReadings(0, "", "");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->Count(), 0);
    EXPECT_NE(db_.DeviceWaterHotModel.GetReadings(0, "2024-01-01", "2024-12-31"), nullptr);
    EXPECT_FALSE(std::filesystem::exists("console.log")) << "no statement was run";

    EXPECT_EQ(db_.DeviceHeatModel.GetReadings(1, "", ""), nullptr);
    EXPECT_EQ(db_.DeviceWaterColdModel.GetReadings(1, "", ""), nullptr);
    EXPECT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(1, "2024-01-31 12:30")),
              InsertReadingResult::Failed);
    EXPECT_NE(ReadFile("console.log")
                  .find("\nReading not stored (devid 1, 2024-01-31 12:30): "
                        "file is not a database;\n"),
              std::string::npos)
        << ReadFile("console.log");
}

}  // namespace
