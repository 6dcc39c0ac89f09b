// The archive screen's report of one building with 1,000 heat meters over a month of hourly
// readings (720,000 readings), from the building's choice to the three grids filled with the
// consumption columns and the totals; and the export of a 1,000-row heat grid to a written
// .xlsx file, in the report's own layout and with the consumption columns.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <filesystem>

#include "app/ProgramObjects.h"
#include "app/toolkit/StringGrid.h"
#include "archive/ArchiveReport.h"
#include "archive/Excel.h"
#include "archive/ExportSheet.h"
#include "archive/FrameHeatArchiveList.h"
#include "support/TempWorkDir.h"

namespace {

constexpr int kMeters = 1000;
constexpr int kHours = 720;

constexpr const char* kGenerate =
    "INSERT INTO buildings(gid, city_id, street, no, index_) VALUES (0, 1, 'вул. Городоцька', "
    "'120', '79000');"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
    "INSERT INTO app(bid, no, licno, name, fname, sname, total_floor_area, heated_floor_area, "
    "num_reg_peopl, type_room, mzk) SELECT 1, i, 'L' || i, 'Ім''я', 'По батькові', 'Прізвище', "
    "54.3, 50.5, 2, 0, 0 FROM n;"
    "INSERT INTO devices_heat(serial, aid, position) SELECT 10000000 + aid, aid, 0 FROM app;"
    // Readings dated to the minute as the meters report them, hourly through March 2024.
    "WITH RECURSIVE h(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM h WHERE i < 719) "
    "INSERT INTO heat_data_current(devid, date, q_cooling, q, v, t1, t2, dt, running_time_hour) "
    "SELECT devid, strftime('%Y-%m-%d %H:%M', '2024-03-01', '+' || i || ' hours'), 0.5, "
    "1000 + i, 12.5 + i, 70.5, 50.25, 20.25, 1200 + i FROM devices_heat, h;";

void BM_ReportOfAThousandHeatMeters(benchmark::State& state) {
    CTempWorkDir dir;
    CProgramObjects program;
    DbController->Database.Execute(kGenerate);
    TFrameHeatArchiveList screen(nullptr);
    screen.resize(900, 500);
    screen.show();
    screen.DateTimePickerBegin->setDate(QDate(2024, 3, 1));
    screen.DateTimePickerEnd->setDate(QDate(2024, 3, 31));
    for (auto _ : state) {
        // The building chosen afresh each time, as a click in the filter does.
        screen.ComboBoxObjectList->setCurrentIndex(-1);
        screen.ComboBoxObjectList->setCurrentIndex(0);
        QApplication::processEvents();
    }
    state.counters["rows"] = screen.StringGridHeat->RowCount() - 1;
    state.counters["readings"] = kMeters * kHours;
}
BENCHMARK(BM_ReportOfAThousandHeatMeters)->Unit(benchmark::kMillisecond);

void BM_ExportOfAThousandRows(benchmark::State& state) {
    const bool consumption = state.range(0) != 0;
    CTempWorkDir dir;
    CArchiveGrid grid = TitleGrid(ArchiveKind::Heat, true);
    for (int meter = 0; meter < kMeters; ++meter) {
        const int row = grid.AddRow();
        const std::string cells[] = {std::to_string(10000000 + meter),
                                     std::to_string(meter + 1),
                                     "2024-03-31 23:00",
                                     "0.500",
                                     "0.000",
                                     "1719.000",
                                     "1.479",
                                     "731.500",
                                     "70.50",
                                     "50.25",
                                     "20.25",
                                     "2024-03-01 00:00",
                                     "1000.000",
                                     "719.000",
                                     "0.619"};
        for (int col = 0; col < grid.colCount; ++col) grid.SetCell(col, row, cells[col]);
    }
    const int totals = grid.AddRow(ArchiveRow::Totals);
    grid.SetCell(0, totals, kTotals);
    grid.SetCell(13, totals, "719000.000");
    grid.SetCell(14, totals, "618.643");
    if (!consumption) grid = WithoutConsumption(grid);
    int written = 0;
    for (auto _ : state) {
        CExportPlace place;
        place.folder = dir.Path().string();
        place.fileName = "report.xlsx";
        place.opener.clear();
        CExcel excel(place, {});
        written += ExportGrid(grid, "вул. Городоцька 120", excel) == ExportResult::Shown ? 1 : 0;
        state.PauseTiming();
        std::filesystem::remove(excel.WrittenPath());
        state.ResumeTiming();
    }
    state.counters["written"] = written;
    state.counters["columns"] = grid.colCount;
}
BENCHMARK(BM_ExportOfAThousandRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
