#include <algorithm>
#include <string>
#include <vector>

#include "polling/PollCommand.h"
#include "polling/PollingFixture.h"

namespace {
struct CCommandResult {
    int status;
    std::string out;
    std::string err;
};

CCommandResult RunPollCommandWith(const std::vector<std::string>& words) {
    std::vector<std::string> arguments = {"vevo", "poll"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = RunPollCommand(static_cast<int>(argv.size()), argv.data());
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}
}  // namespace

TEST_F(PollingTest, ThePollCommandWalksAKindAndStoresItsReadings) {
    const int devid = AddMeter(PollKindHeat, 12345678);
    AddMeter(PollKindHeat, 23456789);
    CSimMeter quiet = HeatMeter(23456789);
    quiet.silent = true;
    StartSimulator({HeatMeter(12345678), quiet}, {}, false);

    const auto result = RunPollCommandWith(
        {"--port", simulator_->PortPath(), "--kind", "heat", "--silence-ms", "150"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "12345678\t\t2025-01-31 "
              "14:05\t000000.00\t000250.00\t0012.3456\t21.50\t18.05\t3.45\t1234\tOK\n"
              "23456789\t\t\t\t\t\t\t\t\t\tОшибка\n");
    EXPECT_EQ(HeatReadingsOf(devid), 1);
}

TEST_F(PollingTest, ThePollCommandReadsByNumberWithoutStoring) {
    const int devid = AddMeter(PollKindHeat, 12345678);
    StartSimulator({HeatMeter(12345678)}, {}, false);
    const auto result =
        RunPollCommandWith({"--port", simulator_->PortPath(), "--baud", "9600", "--number",
                            "12345678", "--family", "heat", "--silence-ms", "150"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')), "Date/Time\t2025-01-31 14:05");
    EXPECT_EQ(HeatReadingsOf(devid), 0);
}

TEST_F(PollingTest, ThePollCommandReportsALostLinkAndStillCompletes) {
    AddMeter(PollKindWaterCold, 87654321);
    const auto result = RunPollCommandWith(
        {"--port", "/dev/vevo-no-such-port", "--kind", "water_cold", "--silence-ms", "50"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "87654321\t\t\t\t\t\t\t\tОшибка\n");
    EXPECT_EQ(
        result.err,
        "Не удалось установить соединение\nСоединение было прервано.\nСоединение было прервано.\n");
}

TEST(PollCommand, BadArgumentsExitWithTwoAndOneLine) {
    CTempWorkDir dir;
    for (const auto& words : std::vector<std::vector<std::string>>{
             {},
             {"--kind", "heat"},
             {"--port", "/dev/x", "--kind", "steam"},
             {"--port", "/dev/x", "--number", "123456789", "--family", "heat"},
             {"--port", "/dev/x", "--number", "12", "--family", "gas"},
             {"--port", "/dev/x", "--number", "12"},
             {"--port", "/dev/x", "--kind", "heat", "--number", "12", "--family", "heat"},
             {"--port", "/dev/x", "--kind", "heat", "--baud", "fast"},
             {"--port", "/dev/x", "--kind"},
             {"--port", "/dev/x", "--colour", "red"},
         }) {
        const auto result = RunPollCommandWith(words);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists("local.db")) << "bad arguments touch nothing";
}
