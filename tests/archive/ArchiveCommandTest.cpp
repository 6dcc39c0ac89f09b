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
    ASSERT_TRUE(DbController->Database.Execute(
        "DROP TABLE app; CREATE VIEW app AS SELECT * FROM gone;"));
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
