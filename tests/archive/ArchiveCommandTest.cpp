#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ArchiveFixture.h"
#include "archive/ArchiveCommand.h"

namespace {
struct CCommandResult {
    int status;
    std::string out;
    std::string err;
};

CCommandResult Run(int (*command)(int, char**), const char* word,
                   const std::vector<std::string>& words) {
    std::vector<std::string> arguments = {"vevo", word};
    arguments.insert(arguments.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = command(static_cast<int>(argv.size()), argv.data());
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}

CCommandResult Archive(const std::vector<std::string>& words) {
    return Run(RunArchiveCommand, "archive", words);
}
CCommandResult Export(const std::vector<std::string>& words) {
    return Run(RunExportCommand, "export", words);
}

class ArchiveCommandTest : public ArchiveTest {
protected:
    ArchiveCommandTest() {
        bid_ = AddBuilding("вул. Шевченка", "5,7");
        const int aid = AddApartment(bid_, "7");
        const int devid = AddMeter(DbController->DeviceHeatModel, 12345678, aid);
        AddHeatReading(devid, "2024-03-01 00:00", "1000");
    }
    std::vector<std::string> Range(const char* kind, const char* from = "2024-03-01",
                                   const char* to = "2024-03-31") const {
        return {"--kind", kind, "--building", std::to_string(bid_), "--from", from, "--to", to};
    }
    int bid_ = 0;
};

constexpr const char* kHeatTitles =
    "Серійний номер\tНомер приміщення\tДата/час\tQ cooling, kWh\tQ cooling, Gcal\tQ, kWh\t"
    "Q, Gcal\tV, m3\tT1, °C\tT2, °C\tDT, °C\n";

TEST_F(ArchiveCommandTest, ArchivePrintsTheGridTheScreenShows) {
    auto result = Archive(Range("heat"));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              std::string(kHeatTitles) +
                  "12345678\t7\t2024-03-01 00:00\t0.000\t0.000\t1000.000\t0.860\t12.500\t"
                  "70.50\t50.25\t20.25\n");
    result = Archive(Range("heat", "2024-04-01", "2024-03-01"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kHeatTitles) << "a first day after the last";
    result = Archive(Range("water_cold"));
    EXPECT_EQ(result.out,
              "Серійний номер\tНомер приміщення\tДата/час\tV, m3\tV Flow, m3/h\tBat, v\t"
              "Run time, h\tV Reverse\n");
}

// Scripts read the report as RFC 4180 CSV or as JSON, with the consumption and the meters
// that did not report when asked.
TEST_F(ArchiveCommandTest, CsvAndJsonCarryTheSameReportWithConsumptionAndSilentMeters) {
    const int aid = AddApartment(bid_, "8 \"a\"");
    const int cold = AddMeter(DbController->DeviceWaterColdModel, 87654321, aid);
    AddWaterReading(DbController->DeviceWaterColdModel, cold, "2024-03-01 10:00:00");
    ASSERT_TRUE(DbController->Database.Execute(
        "INSERT INTO water_cold_data_current(devid, date, v) VALUES (1, '2024-03-20 10:00:00', "
        "1.25);"));
    AddMeter(DbController->DeviceWaterColdModel, 11111111, aid);  // never read

    auto words = Range("water_cold");
    words.insert(words.end(), {"--format", "csv", "--consumption", "--meters-without-readings"});
    auto result = Archive(words);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Серійний номер,Номер приміщення,Дата/час,\"V, m3\",\"V Flow, m3/h\",\"Bat, v\","
              "\"Run time, h\",V Reverse,Початок: дата/час,\"Початок: V, m3\",\"Спожито V, m3\"\r\n"
              "87654321,\"8 \"\"a\"\"\",2024-03-20 10:00:00,3.500,0.750,3.60,90,0.010,"
              "2024-03-01 10:00:00,3.500,-2.250 !\r\n"
              "11111111,\"8 \"\"a\"\"\",немає показань,,,,,,,,\r\n")
        << "no totals row for a script";

    words[9] = "json";
    result = Archive(words);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "[\n {\"serial\": 87654321, \"apartment\": \"8 \\\"a\\\"\", \"date\": "
              "\"2024-03-20 10:00:00\", \"v_m3\": 3.500, \"v_flow_m3h\": 0.750, \"bat_v\": 3.60, "
              "\"run_time\": 90, \"v_reverse_m3\": 0.010, \"first_date\": \"2024-03-01 "
              "10:00:00\", \"first_v_m3\": 3.500, \"consumed_v_m3\": -2.250, "
              "\"counter_backwards\": true},\n {\"serial\": 11111111, \"apartment\": \"8 "
              "\\\"a\\\"\", \"date\": null, \"v_m3\": null, \"v_flow_m3h\": null, \"bat_v\": "
              "null, \"run_time\": null, \"v_reverse_m3\": null, \"first_date\": null, "
              "\"first_v_m3\": null, \"consumed_v_m3\": null, \"counter_backwards\": false}\n]\n");

    result = Archive({"--kind", "heat", "--building", std::to_string(bid_), "--from", "2025-01-01",
                      "--to", "2025-01-31", "--format", "json"});
    EXPECT_EQ(result.out, "[]\n") << "no meters, an empty array";
}

TEST_F(ArchiveCommandTest, BadArgumentsAreOneLineBeforeTheHelpPointerAndExitTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--kind", "gas", "--building", "1", "--from", "2024-03-01", "--to", "2024-03-31"},
        {"--kind", "heat", "--building", "x", "--from", "2024-03-01", "--to", "2024-03-31"},
        {"--kind", "heat", "--building", "1", "--from", "2024-02-30", "--to", "2024-03-31"},
        {"--kind", "heat", "--building", "1", "--from", "2024-3-1", "--to", "2024-03-31"},
        {"--kind", "heat", "--building", "1", "--from", "2024-03-01"},
        {"--kind", "heat", "--building", "1", "--from", "2024-03-01", "--to", "2024-03-31",
         "--output", "x.xlsx"},
        {"--kind", "heat", "--building", "1", "--from", "2024-03-01", "--to", "2024-03-31",
         "--format", "xml"},
        {"--kind"},
    };
    for (const auto& words : bad) {
        const auto result = Archive(words);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_EQ(result.err.rfind("vevo archive: ", 0), 0u) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
        EXPECT_TRUE(result.err.ends_with("\nTry 'vevo archive --help'.\n")) << result.err;
    }
    const auto noOutput = Export(Range("heat"));
    EXPECT_EQ(noOutput.status, 2);
    EXPECT_EQ(noOutput.err, "vevo export: --output is required\nTry 'vevo export --help'.\n");
}

TEST_F(ArchiveCommandTest, AMissingBuildingIsExitOne) {
    auto words = Range("heat");
    words[3] = "999";
    auto result = Archive(words);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vevo archive: there is no building 999\n");
    EXPECT_EQ(result.out, "");
    words.insert(words.end(), {"--output", "x.xlsx"});
    result = Export(words);
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(std::filesystem::exists("x.xlsx"));
}

// A damaged schema: the apartments are a view of a table that is gone.
TEST_F(ArchiveCommandTest, AReportThatCannotBeReadIsExitOneWithSQLitesReason) {
    ASSERT_TRUE(
        DbController->Database.Execute("DROP TABLE app; CREATE VIEW app AS SELECT * FROM gone;"));
    auto result = Archive(Range("heat"));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vevo archive: local.db cannot be read: no such table: main.gone\n");
    EXPECT_EQ(result.out, "") << "no report is printed as if it were empty";
    auto words = Range("water_hot");
    words.insert(words.end(), {"--output", "x.xlsx"});
    result = Export(words);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vevo export: local.db cannot be read: no such table: main.gone\n");
    EXPECT_FALSE(std::filesystem::exists("x.xlsx"));
}

TEST_F(ArchiveCommandTest, ExportWritesTheSheetAndRefusesAnExistingFile) {
    auto words = Range("heat");
    words.insert(words.end(), {"--output", "march.xlsx"});
    auto result = Export(words);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const std::string sheet = ReadSheet("march.xlsx");
    EXPECT_NE(sheet.find("G1 str 'вул. Шевченка 5.7'"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("B5 num 12345678"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("H5 num 0.86"), std::string::npos) << sheet;

    words.back() = "consumed.xlsx";
    words.push_back("--consumption");
    result = Export(words);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string consumed = ReadSheet("consumed.xlsx");
    EXPECT_NE(consumed.find("P4 str 'Спожито Q, Gcal'"), std::string::npos) << consumed;
    EXPECT_NE(consumed.find("B6 str 'Разом'"), std::string::npos) << consumed;
    words.pop_back();

    WriteFile("taken.xlsx", "kept");
    words.back() = "taken.xlsx";
    result = Export(words);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vevo export: taken.xlsx exists\n");
    EXPECT_EQ(ReadFile("taken.xlsx"), "kept");

    WriteFile("file", "");
    words.back() = "file/in-a-file.xlsx";
    result = Export(words);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("vevo export: file/in-a-file.xlsx cannot be written", 0), 0u)
        << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

}  // namespace
