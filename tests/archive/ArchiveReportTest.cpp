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
    CArchiveReport Report(ArchiveKind kind, const char* first = "2024-03-01",
                          const char* last = "2024-03-31", bool consumption = false,
                          bool withoutReadings = false) const {
        return ArchiveReport(*DbController,
                             {kind, bid_, first, last, consumption, withoutReadings});
    }
    static std::vector<std::string> Row(const CArchiveGrid& grid, int row) {
        std::vector<std::string> cells;
        for (int col = 0; col < grid.colCount; ++col) cells.push_back(grid.Cell(col, row));
        return cells;
    }
    int bid_ = 0, aid_ = 0;
};

TEST_F(ArchiveReportTest, HeatRowsShowTheStoredNumbersWithTheirDecimalsAndTheirGcal) {
    const int devid = AddMeter(DbController->DeviceHeatModel, 12345678, aid_);
    AddHeatReading(devid, "2024-03-01 00:00", "1000");
    const CArchiveReport report = Report(ArchiveKind::Heat);
    ASSERT_FALSE(report.failure);
    const CArchiveGrid& grid = report.grid;
    ASSERT_EQ(grid.colCount, 11);
    ASSERT_EQ(grid.rowCount, 2) << "a midnight reading of the first day counts";
    EXPECT_EQ(grid.Cell(8, 0), "T1, °C");
    EXPECT_EQ(grid.Cell(10, 0), "DT, °C");
    EXPECT_EQ(Row(grid, 1),
              (std::vector<std::string>{"12345678", "7", "2024-03-01 00:00", "0.000", "0.000",
                                        "1000.000", "0.860", "12.500", "70.50", "50.25", "20.25"}));
}

// A counter past nine characters was cut as text, and its Gcal computed from the cut text.
TEST_F(ArchiveReportTest, ALargeCounterIsShownWholeAndConvertedWhole) {
    const int devid = AddMeter(DbController->DeviceHeatModel, 1, aid_);
    ASSERT_TRUE(DbController->Database.Execute(
        "INSERT INTO heat_data_current(devid, date, q, v) VALUES (1, '2024-03-02 10:00', "
        "12345678901, NULL);"));
    ASSERT_EQ(devid, 1);
    const CArchiveGrid grid = Report(ArchiveKind::Heat).grid;
    ASSERT_EQ(grid.rowCount, 2);
    EXPECT_EQ(grid.Cell(5, 1), "12345678901.000");
    EXPECT_EQ(grid.Cell(6, 1), "10622478.677");
    EXPECT_EQ(grid.Cell(7, 1), "") << "no volume stored, none shown";
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

    const CArchiveGrid march = Report(ArchiveKind::WaterCold).grid;
    ASSERT_EQ(march.rowCount, 2);
    EXPECT_EQ(Row(march, 1), (std::vector<std::string>{"1", "7", "2024-03-31 23:59:59", "3.500",
                                                       "0.750", "3.60", "90", "0.010"}));

    const CArchiveReport reversed = Report(ArchiveKind::WaterCold, "2024-03-31", "2024-03-01");
    EXPECT_FALSE(reversed.failure);
    EXPECT_EQ(reversed.grid.rowCount, 1) << "a first day after the last gives the title row alone";
    const CArchiveGrid hot = Report(ArchiveKind::WaterHot).grid;
    EXPECT_EQ(hot.rowCount, 1);
    EXPECT_EQ(hot.name, "StringGridWaterHot");

    // Asked for, the building's meter without readings follows, and only that one.
    const CArchiveGrid all =
        Report(ArchiveKind::WaterCold, "2024-03-01", "2024-03-31", false, true).grid;
    ASSERT_EQ(all.rowCount, 3);
    EXPECT_EQ(all.rows[2], ArchiveRow::NoReadings);
    EXPECT_EQ(Row(all, 2),
              (std::vector<std::string>{"2", "7", "немає показань", "", "", "", "", ""}));
}

// Readings at midnight of the first day and in the last minute of the last day bound the range.
TEST_F(ArchiveReportTest, ConsumptionRunsFromTheFirstReadingInTheRangeToTheLatest) {
    const int heat = AddMeter(DbController->DeviceHeatModel, 11, aid_);
    AddHeatReading(heat, "2024-02-29 23:59", "900");
    AddHeatReading(heat, "2024-03-01 00:00", "1000");
    AddHeatReading(heat, "2024-03-15 12:00", "1500.5");
    AddHeatReading(heat, "2024-03-31 23:59", "2162.25");
    AddHeatReading(heat, "2024-04-01 00:00", "9999");
    const int backwards = AddMeter(DbController->DeviceHeatModel, 12, aid_);
    AddHeatReading(backwards, "2024-03-02 10:00", "500");
    AddHeatReading(backwards, "2024-03-03 10:00", "480");
    AddMeter(DbController->DeviceHeatModel, 13, aid_);  // never read

    const CArchiveGrid grid =
        Report(ArchiveKind::Heat, "2024-03-01", "2024-03-31", true, true).grid;
    ASSERT_EQ(grid.colCount, 15);
    EXPECT_EQ(grid.Cell(13, 0), "Спожито Q, kWh");
    ASSERT_EQ(grid.rowCount, 5);
    EXPECT_EQ(grid.Cell(2, 1), "2024-03-31 23:59");
    EXPECT_EQ(grid.Cell(11, 1), "2024-03-01 00:00");
    EXPECT_EQ(grid.Cell(12, 1), "1000.000");
    EXPECT_EQ(grid.Cell(13, 1), "1162.250");
    EXPECT_EQ(grid.Cell(14, 1), "1.000");
    EXPECT_EQ(grid.Cell(5, 2), "500.000") << "the largest value is still the report's";
    EXPECT_EQ(grid.Cell(13, 2), "-20.000 !") << "a counter that went backwards is marked";
    EXPECT_EQ(grid.Cell(14, 2), "-0.017 !");
    EXPECT_EQ(grid.rows[3], ArchiveRow::NoReadings);
    EXPECT_EQ(grid.Cell(13, 3), "");
    EXPECT_EQ(grid.rows[4], ArchiveRow::Totals);
    EXPECT_EQ(Row(grid, 4), (std::vector<std::string>{"Разом", "", "", "", "", "", "", "", "", "",
                                                      "", "", "", "1162.250", "1.000"}))
        << "the marked difference counts in no total";

    const CArchiveGrid own = WithoutConsumption(grid);
    EXPECT_EQ(own.colCount, 11);
    EXPECT_EQ(own.rowCount, 4) << "no totals in the report's own layout";
}

TEST_F(ArchiveReportTest, AReportThatCannotBeReadSaysWhyAndShowsTheTitleRowAlone) {
    AddHeatReading(AddMeter(DbController->DeviceHeatModel, 1, aid_), "2024-03-01 10:00", "1");
    ASSERT_TRUE(DbController->Database.Execute("DROP TABLE heat_data_daily;"));
    const CArchiveReport report = Report(ArchiveKind::Heat, "2024-03-01", "2024-03-31", true);
    ASSERT_TRUE(report.failure);
    EXPECT_EQ(report.failure->reason, "no such table: heat_data_daily");
    EXPECT_EQ(report.grid.rowCount, 1);
    EXPECT_EQ(CannotReadLine(*report.failure),
              "local.db cannot be read: no such table: heat_data_daily");
}

TEST(SortArchiveGrid, SortsTheMetersByNumberOrTextKeepingTheirGroupsAndAgainReversed) {
    CArchiveGrid grid = TitleGrid(ArchiveKind::WaterCold, true);
    AddGridRow(grid, ArchiveRow::Readings, {"3", "10", "", "", "", "", "", "", "", "", "2.000"});
    AddGridRow(grid, ArchiveRow::Readings, {"1", "2", "", "", "", "", "", "", "", "", "-5.000 !"});
    AddGridRow(grid, ArchiveRow::Readings, {"2", "10а", "", "", "", "", "", "", "", "", ""});
    AddGridRow(grid, ArchiveRow::Readings, {"4", "2", "", "", "", "", "", "", "", "", "11.000"});
    AddGridRow(grid, ArchiveRow::NoReadings, {"5", "1", "немає показань"});
    AddGridRow(grid, ArchiveRow::Totals, {"Разом", "", "", "", "", "", "", "", "", "", "13.000"});
    const auto column = [&](int col) {
        std::vector<std::string> cells;
        for (int row = 1; row < grid.rowCount; ++row) cells.push_back(grid.Cell(col, row));
        return cells;
    };

    SortArchiveGrid(grid, 10, false);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "3", "4", "2", "5", "Разом"}))
        << "numbers as numbers, the empty cell after them, the groups kept";
    SortArchiveGrid(grid, 10, true);
    EXPECT_EQ(column(0), (std::vector<std::string>{"4", "3", "1", "2", "5", "Разом"}));
    SortArchiveGrid(grid, 1, false);
    EXPECT_EQ(column(1), (std::vector<std::string>{"2", "2", "10", "10а", "1", ""}));
    EXPECT_EQ(grid.rows[5], ArchiveRow::NoReadings);
    EXPECT_EQ(grid.rows[6], ArchiveRow::Totals);
}

}  // namespace
