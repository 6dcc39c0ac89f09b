// The meter import and the apartment import of 10,000 lines each, into a fresh local.db, the
// whole file in one transaction (the target is well under a second each); and a 20 MB meter
// file in a process of its own, whose peak memory must stay under 64 MB plus 4 times the file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

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

constexpr long kBigFileBytes = 20L * 1024 * 1024;

// Written line by line, so that the benchmark's own process stays small: a child starts with
// its parent's pages.
int WriteBigMeterFile(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    std::fputs("kind;serial;installed;verified;position\r\n", file);
    const char* kinds[] = {"heat", "water_cold", "water_hot"};
    int lines = 0;
    while (std::ftell(file) < kBigFileBytes) {
        std::fprintf(file, "%s;%d;15.01.2024;2024-01-10;%d\r\n", kinds[lines % 3], 10000000 + lines,
                     lines % 2);
        ++lines;
    }
    std::fclose(file);
    return lines;
}

struct CChildUse {
    double peakMiB = -1;  // -1 when the work failed
    double cpuSeconds = 0;
};

// Runs `work` in a child process: its peak resident memory and the processor time it took.
CChildUse UseOf(const std::function<bool()>& work) {
    const pid_t child = fork();
    if (child == 0) _exit(work() ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    const auto seconds = [](timeval time) { return time.tv_sec + time.tv_usec / 1e6; };
    return {static_cast<double>(usage.ru_maxrss) / 1024,  // KiB on Linux
            seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

void BM_ImportTwentyMegabyteMeterFile(benchmark::State& state) {
    CTempWorkDir dir;
    const int lines = WriteBigMeterFile("big.csv");
    CChildUse use;
    for (auto _ : state) {
        std::filesystem::remove("local.db");
        use = UseOf([lines] {
            CSQLite3Controller db("./local.db");
            return CImporter(db).ImportMeters("big.csv").stored == lines;
        });
        if (use.peakMiB < 0) state.SkipWithError("the import failed");
    }
    // The same process without the import: the program's own start, the database opened.
    state.counters["baseline_MiB"] = UseOf([] {
                                         CSQLite3Controller db("./local.db");
                                         return true;
                                     }).peakMiB;
    state.counters["peak_MiB"] = use.peakMiB;
    state.counters["cpu_s"] = use.cpuSeconds;
    state.counters["limit_MiB"] = 64 + 4.0 * kBigFileBytes / (1024 * 1024);
    state.counters["lines"] = lines;
}
BENCHMARK(BM_ImportTwentyMegabyteMeterFile)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
}  // namespace
