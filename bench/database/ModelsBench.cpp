// Table model timings on a file the size of a large installation: 10 buildings, 1,000
// apartments, 1,000 bound meters of each kind and 1,000,000 heat readings (one per heat meter
// per day for 1,000 days from 2022-01-01); and the check before writing on a file of 720,000
// heat readings (hourly through a month, as the archive benchmark's).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Utils/Format.h"
#include "database/DailyMaxima.h"
#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "database/WriteCheck.h"

namespace {

constexpr int kMeters = 1000;
constexpr int kDays = 1000;

constexpr const char* kGenerateDirectory =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10) "
    "INSERT INTO buildings(gid, city_id, street, no, index_) "
    "SELECT 0, 1, 'Street ' || i, i, '79000' FROM n;"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
    "INSERT INTO app(bid, no, licno, name, fname, sname, total_floor_area, heated_floor_area, "
    "num_reg_peopl, type_room, mzk) "
    "SELECT (i - 1) / 100 + 1, (i - 1) % 100 + 1, 'L' || i, 'Name', 'Patronymic', 'Surname', "
    "54.3, 50.5, 2, 0, 0 FROM n;"
    "INSERT INTO devices_heat(serial, aid, date_install, date_initial_verification, "
    "calibration_interval, position) "
    "SELECT 10000000 + aid, aid, '2021-12-01', '2021-12-15', 48, aid % 2 FROM app;"
    "INSERT INTO devices_water_cold(serial, aid, date_install, date_initial_verification, "
    "calibration_interval) SELECT 20000000 + aid, aid, '2021-12-01', '2021-12-15', 48 FROM app;"
    "INSERT INTO devices_water_hot(serial, aid, date_install, date_initial_verification, "
    "calibration_interval) SELECT 30000000 + aid, aid, '2021-12-01', '2021-12-15', 48 FROM app;";
// One reading per meter and step of d, a day or an hour.
constexpr const char* kGenerateReadings =
    "INSERT INTO heat_data_current(devid, date, q_cooling, q, v, t1, t2, dt, running_time_hour) "
    "SELECT devid, strftime('%Y-%m-%d %H:00', '2022-01-01 12:00', '+' || day || ' ' || step), "
    "round(day * 0.01, 3), round(day * 1.25 + devid * 0.001, 3), round(day * 0.05, 3), "
    "70.5 - day % 7, 50.25 - day % 5, 20.25, day * 24 FROM d, devices_heat ORDER BY day, devid;";

// The directory, and one heat reading per meter and `step` ("days" or "hours") for `steps`.
std::string Generate(int steps, const char* step) {
    return std::string(kGenerateDirectory) + "WITH RECURSIVE d(day, step) AS (SELECT 0, '" + step +
           "' UNION ALL SELECT day + 1, step FROM d WHERE day < " + std::to_string(steps - 1) +
           ") " + kGenerateReadings;
}

// The generated files, made once per run in a temporary directory that is also the working
// directory (so a failure's console.log lands there) and removed at exit.
class CBenchDirectory {
public:
    CBenchDirectory() : previous_(std::filesystem::current_path()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vevo-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        dir_ = pattern;
        std::filesystem::current_path(dir_);
    }
    ~CBenchDirectory() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

// A file of readings, one per meter and step, generated once.
class CBigDatabase {
public:
    CBigDatabase(const char* path, int steps, const char* step) {
        static CBenchDirectory directory;
        controller_ = std::make_unique<CSQLite3Controller>(path);
        CSQLite3& database = controller_->Database;
        if (!database.BeginTransaction() || !database.Execute(Generate(steps, step).c_str()) ||
            !database.CommitTransaction()) {
            std::fprintf(stderr, "generating the benchmark database failed\n");
            std::abort();
        }
    }
    CSQLite3Controller& Controller() { return *controller_; }

private:
    std::unique_ptr<CSQLite3Controller> controller_;
};

CSQLite3Controller& Db() {
    static CBigDatabase database("./local.db", kDays, "days");
    return database.Controller();
}

constexpr int kCheckedHours = 720;
constexpr const char* kCheckedPath = "./checked.db";

// 720,000 heat readings, hourly through 30 days, and 30,000 day rows.
CSQLite3Controller& CheckedDb() {
    static CBigDatabase database(kCheckedPath, kCheckedHours, "hours");
    return database.Controller();
}

// The tables a heat walk writes, as the poll command and the window check them.
std::vector<const char*> HeatWalkTables() {
    return {kHeatDailyMaxima.readings, kHeatDailyMaxima.daily};
}

void CheckCount(benchmark::State& state, int count, int expected) {
    if (count != expected) state.SkipWithError(Format("%d rows, not %d", count, expected).c_str());
}

void BM_GetHeatArchiveOneBuildingOneMonth(benchmark::State& state) {
    CSQLite3Controller& db = Db();
    for (auto _ : state) {
        const auto report = db.MeteringModel.GetHeatArchive(5, "2023-06-01", "2023-06-30");
        CheckCount(state, report ? report->Count() : -1, 100);
    }
}
BENCHMARK(BM_GetHeatArchiveOneBuildingOneMonth)->Unit(benchmark::kMillisecond);

void BM_GetDevicesHeatWithApartmentsAndBuildings(benchmark::State& state) {
    CSQLite3Controller& db = Db();
    for (auto _ : state) {
        const auto devices = db.DeviceHeatModel.GetDevices();
        CheckCount(state, devices ? devices->Count() : -1, kMeters);
    }
}
BENCHMARK(BM_GetDevicesHeatWithApartmentsAndBuildings)->Unit(benchmark::kMillisecond);

// One reading at a time in its own implicit transaction, as the polling thread stores them.
void BM_InsertReadingOneAtATime(benchmark::State& state) {
    CSQLite3Controller& db = Db();
    static int next = 0;  // dates after the generated ones, new on every call
    for (auto _ : state) {
        CDataHeat reading;
        reading.devid = next % kMeters + 1;
        reading.date = Format("2025-%02d-%02d %02d:%02d", next / 44640 % 12 + 1,
                              next / 1440 % 31 + 1, next / 60 % 24, next % 60);
        reading.q = "123.456";
        reading.t1 = "70.5";
        ++next;
        if (db.DeviceHeatModel.InsertReading(reading) != InsertReadingResult::Stored) {
            state.SkipWithError("insert failed");
        }
    }
}
BENCHMARK(BM_InsertReadingOneAtATime)->Unit(benchmark::kMillisecond);

// 10,000 meter inserts, with one commit for all (state.range(0) == 1) or one per insert. The
// meters are removed again outside the timing, so every run starts from the same file.
void BM_InsertDevice10000(benchmark::State& state) {
    CSQLite3Controller& db = Db();
    const bool inTransaction = state.range(0) == 1;
    constexpr int kInserts = 10000;
    for (auto _ : state) {
        if (inTransaction) db.Database.BeginTransaction();
        for (int i = 0; i < kInserts; ++i) {
            CDevice device;
            device.serial = 50000000 + i;
            device.date_install = "2024-01-15";
            device.date_initial_verification = "2024-01-20";
            device.calibration_interval = 48;
            if (db.DeviceWaterColdModel.InsertDevice(device) == 0) {
                state.SkipWithError("insert failed");
                break;
            }
        }
        if (inTransaction) db.Database.CommitTransaction();
        state.PauseTiming();
        db.Database.Execute("DELETE FROM devices_water_cold WHERE serial >= 50000000;");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kInserts);
}
BENCHMARK(BM_InsertDevice10000)->ArgName("in_transaction")->Arg(1)->Unit(benchmark::kMillisecond);
// Every insert waits for its own commit to reach the disk: one round is long enough.
BENCHMARK(BM_InsertDevice10000)
    ->ArgName("in_transaction")
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// PRAGMA quick_check of the heat readings and their day table, with the rolled back write before
// it: what a walk costs before its first request.
void BM_CheckBeforeAWalk720000Readings(benchmark::State& state) {
    CSQLite3Controller& db = CheckedDb();
    CheckCount(
        state,
        [&] {
            CQueryRows rows(db.Database, "SELECT COUNT(*) FROM heat_data_current;");
            return rows.Next() ? rows.Int(0) : -1;
        }(),
        kMeters * kCheckedHours);
    const std::vector<const char*> tables = HeatWalkTables();
    for (auto _ : state) {
        if (CheckBeforeWriting(db.Database, tables)) state.SkipWithError("refused");
    }
}
BENCHMARK(BM_CheckBeforeAWalk720000Readings)->Unit(benchmark::kMillisecond);

// A command's start on that file, as `vevo poll --kind heat` makes it before its first request:
// the connection opened with its schema and day-table checks, then the check before writing.
void BM_CommandStartWithItsCheck720000Readings(benchmark::State& state) {
    CheckedDb();
    const std::vector<const char*> tables = HeatWalkTables();
    for (auto _ : state) {
        CSQLite3Controller controller(kCheckedPath);
        if (CheckBeforeWriting(controller.Database, tables)) state.SkipWithError("refused");
    }
}
BENCHMARK(BM_CommandStartWithItsCheck720000Readings)->Unit(benchmark::kMillisecond);

}  // namespace
