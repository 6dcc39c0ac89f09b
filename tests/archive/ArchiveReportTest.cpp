#include <gtest/gtest.h>

#include "ArchiveFixture.h"
#include "archive/ArchiveReport.h"

namespace {

class ArchiveReportTest : public ArchiveTest {
protected:
    ArchiveReportTest() {
        bid_ = AddBuilding("вул. Шевченка", "12");
        aid_ = AddApartment(bid_, "7");
    }
    int bid_ = 0, aid_ = 0;
};

TEST_F(ArchiveReportTest, HeatRowsShowTheStoredTextsAndTheirGcal) {
    const int devid = AddMeter(DbController->DeviceHeatModel, 12345678, aid_);
    AddHeatReading(devid, "2024-03-01 00:00", "1000");
    const CArchiveGrid grid =
        ArchiveReport(*DbController, ArchiveKind::Heat, bid_, "2024-03-01", "2024-03-31");
    ASSERT_EQ(grid.colCount, 11);
    ASSERT_EQ(grid.rowCount, 2) << "a midnight reading of the first day counts";
    EXPECT_EQ(grid.Cell(8, 0), "T1, °C");
    EXPECT_EQ(grid.Cell(10, 0), "DT, °C");
    const std::vector<std::string> expected = {
        "12345678", "7",    "2024-03-01 00:00", "0.0", "0.000", "1000.0", "0.860", "12.5", "70.5",
        "50.25",    "20.25"};
    for (int col = 0; col < grid.colCount; ++col) EXPECT_EQ(grid.Cell(col, 1), expected[col]);
}

TEST_F(ArchiveReportTest, OnlyMetersOfTheBuildingWithReadingsInTheWholeDaysAreRows) {
    const int other = AddApartment(AddBuilding("просп. Свободи", "5/7"), "1");
    const int here = AddMeter(DbController->DeviceWaterColdModel, 1, aid_);
    AddMeter(DbController->DeviceWaterColdModel, 2, aid_);  // no readings
    const int elsewhere = AddMeter(DbController->DeviceWaterColdModel, 3, other);
    const int unbound = AddMeter(DbController->DeviceWaterColdModel, 4, 0);
    auto& cold = DbController->DeviceWaterColdModel;
    AddWaterReading(cold, here, "2024-03-31 23:59:59");
    AddWaterReading(cold, elsewhere, "2024-03-10 10:00:00");
    AddWaterReading(cold, unbound, "2024-03-10 10:00:00");

    const CArchiveGrid march =
        ArchiveReport(*DbController, ArchiveKind::WaterCold, bid_, "2024-03-01", "2024-03-31");
    ASSERT_EQ(march.rowCount, 2);
    EXPECT_EQ(march.Cell(0, 1), "1");
    EXPECT_EQ(march.Cell(2, 1), "2024-03-31 23:59:59");
    EXPECT_EQ(march.Cell(6, 1), "90");

    const CArchiveGrid reversed =
        ArchiveReport(*DbController, ArchiveKind::WaterCold, bid_, "2024-03-31", "2024-03-01");
    EXPECT_EQ(reversed.rowCount, 1) << "a first day after the last gives the title row alone";
    const CArchiveGrid hot =
        ArchiveReport(*DbController, ArchiveKind::WaterHot, bid_, "2024-03-01", "2024-03-31");
    EXPECT_EQ(hot.rowCount, 1);
    EXPECT_EQ(hot.name, "StringGridWaterHot");
}

TEST(KwhToGcal, ReadsThePointWhateverTheLocaleAndCountsNoNumberAsZero) {
    EXPECT_EQ(KwhToGcal("1000"), "0.860");
    EXPECT_EQ(KwhToGcal("000250.00"), "0.215");
    EXPECT_EQ(KwhToGcal(""), "0.000");
    EXPECT_EQ(KwhToGcal("abc"), "0.000");
}

}  // namespace
