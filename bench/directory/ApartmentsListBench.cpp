// The apartments list filled for one building of 1,000 apartments with 3,000 bound meters (one
// of each kind per apartment), from the building's choice to the grid filled.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <memory>

#include "app/ProgramObjects.h"
#include "app/toolkit/StringGrid.h"
#include "directory/ProgramSubscriberList.h"
#include "support/TempWorkDir.h"

namespace {

constexpr const char* kGenerate =
    "INSERT INTO buildings(gid, city_id, street, no, index_) VALUES (0, 1, 'вул. Городоцька', "
    "'120', '79000');"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
    "INSERT INTO app(bid, no, licno, name, fname, sname, total_floor_area, heated_floor_area, "
    "num_reg_peopl, type_room, mzk) "
    "SELECT 1, i, 'L' || i, 'Мар''яна', 'Іванівна', 'Ґудзь', 54.3, 50.5, 2, 0, 0 FROM n;"
    "INSERT INTO devices_heat(serial, aid, position) SELECT 10000000 + aid, aid, 0 FROM app;"
    "INSERT INTO devices_water_cold(serial, aid) SELECT 20000000 + aid, aid FROM app;"
    "INSERT INTO devices_water_hot(serial, aid) SELECT 30000000 + aid, aid FROM app;";

void BM_FillApartmentsOfOneBuilding(benchmark::State& state) {
    CTempWorkDir dir;
    CProgramObjects program;
    DbController->Database.Execute(kGenerate);
    TProgramSubscriberList list(nullptr);
    list.resize(800, 450);
    list.show();
    list.RefreshList(true);
    list.ComboBoxObjectList->setCurrentIndex(0);
    for (auto _ : state) {
        list.ComboBoxObjectListChange();
        QApplication::processEvents();
    }
    state.counters["rows"] = list.StringGrid1->RowCount() - 1;
}
BENCHMARK(BM_FillApartmentsOfOneBuilding)->Unit(benchmark::kMillisecond);

}  // namespace
