// The polling screen's tables refilled, as Connect does, with 3,000 stored meters: 1,000 of
// each kind, half of them bound to an apartment, in the whole window.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/FormVeltara.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/StringGrid.h"
#include "polling/FrameLoraDevicePolling.h"
#include "support/TempWorkDir.h"

namespace {

constexpr const char* kGenerate =
    "INSERT INTO buildings(gid, city_id, street, no, index_) VALUES (0, 1, 'вул. Городоцька', "
    "'120', '79000');"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
    "INSERT INTO app(bid, no, licno, name, fname, sname, total_floor_area, heated_floor_area, "
    "num_reg_peopl, type_room, mzk) "
    "SELECT 1, i, 'L' || i, 'Мар''яна', 'Іванівна', 'Ґудзь', 54.3, 50.5, 2, 0, 0 FROM n;"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
    "INSERT INTO devices_heat(serial, aid, position) "
    "SELECT 10000000 + i, CASE WHEN i <= 500 THEN i ELSE 0 END, 0 FROM n;"
    "INSERT INTO devices_water_cold(serial, aid) SELECT serial + 10000000, aid FROM devices_heat;"
    "INSERT INTO devices_water_hot(serial, aid) SELECT serial + 20000000, aid FROM devices_heat;";

void BM_RefillPollingTablesOf3000Meters(benchmark::State& state) {
    CTempWorkDir dir;
    CProgramObjects program;
    DbController->Database.Execute(kGenerate);
    TFormVeltara window;
    window.show();
    window.ShowPollingScreen();
    QApplication::processEvents();
    for (auto _ : state) {
        FrameLoraDevicePolling->RefillTables();
        QApplication::processEvents();  // the table showing is painted
    }
    int rows = 0;
    for (int kind = 0; kind < 3; ++kind)
        rows += FrameLoraDevicePolling->MeterTable(kind)->RowCount() - 1;
    state.counters["meters"] = rows;
}
BENCHMARK(BM_RefillPollingTablesOf3000Meters)->Unit(benchmark::kMillisecond);

}  // namespace
