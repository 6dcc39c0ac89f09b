// The meter import and the apartment import of 10,000 lines each, into a fresh local.db, the
// whole file in one transaction (the target is well under a second each).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "Utils/Format.h"
#include "database/SQLite3Controller.h"
#include "directory/import/Importer.h"
#include "support/TempWorkDir.h"

namespace {
constexpr int kLines = 10000;

void BM_ImportTenThousandMeters(benchmark::State& state) {
    CTempWorkDir dir;
    std::string text = "kind;serial;installed;verified;position\n";
    for (int i = 0; i < kLines; ++i) {
        const char* kinds[] = {"heat", "water_cold", "water_hot"};
        text += Format("%s;%d;2024-01-15;2024-01-10;%d\n", kinds[i % 3], 10000000 + i, i % 2);
    }
    WriteFile("meters.csv", text);
    int stored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove("local.db");
        CSQLite3Controller db("./local.db");
        state.ResumeTiming();
        stored = CImporter(db).ImportMeters("meters.csv").stored;
    }
    state.counters["stored"] = stored;
}
BENCHMARK(BM_ImportTenThousandMeters)->Unit(benchmark::kMillisecond);

void BM_ImportTenThousandApartments(benchmark::State& state) {
    CTempWorkDir dir;
    std::string text = "no;licno;sname;name;fname;total;heated;people;type;mzk;heat;cold;hot\n";
    for (int i = 1; i <= kLines; ++i) {
        text += Format("%d;L%d;Ґудзь;Мар’яна;Іванівна;54.3;50.5;2;0;0;%d;%d;\n", i, i, 10000000 + i,
                       20000000 + i);
    }
    WriteFile("apartments.csv", text);
    int stored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove("local.db");
        CSQLite3Controller db("./local.db");
        db.Database.Execute(
            "INSERT INTO buildings(street, no) VALUES ('вул. Городоцька', '120');"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
            "INSERT INTO devices_heat(serial, aid, position) SELECT 10000000 + i, 0, 0 FROM n;");
        state.ResumeTiming();
        stored = CImporter(db).ImportApartments("apartments.csv", 1).stored;
    }
    state.counters["stored"] = stored;
}
BENCHMARK(BM_ImportTenThousandApartments)->Unit(benchmark::kMillisecond);
}  // namespace
