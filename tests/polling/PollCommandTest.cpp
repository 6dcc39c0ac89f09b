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

    // A meter that does not answer is the read's whole result: a script must see a failure.
    const auto silent =
        RunPollCommandWith({"--port", simulator_->PortPath(), "--baud", "9600", "--number",
                            "99999999", "--family", "heat", "--silence-ms", "150"});
    EXPECT_EQ(silent.status, 1);
    EXPECT_EQ(silent.err, "vevo poll: no answer\n");
}

TEST_F(PollingTest, ThePollCommandSaysOnceThatALinkWillNotOpenAndWalksNothing) {
    AddMeter(PollKindWaterCold, 87654321);
    WriteFile("not-a-terminal", "");
    for (const char* port : {"/dev/vevo-no-such-port", "/dev/null", "not-a-terminal"}) {
        const auto result = RunPollCommandWith(
            {"--port", port, "--kind", "water_cold", "--silence-ms", "50"});
        EXPECT_EQ(result.status, 1) << port;
        EXPECT_EQ(result.out, "") << port;
        EXPECT_EQ(result.err, "Не удалось установить соединение\n") << port;
    }
}

TEST(PollCommand, ADatabaseThatCannotBeUsedIsOneLineAndExitOne) {
    CTempWorkDir dir;
    std::filesystem::create_directory("local.db");
    auto result = RunPollCommandWith({"--port", "/dev/null", "--kind", "heat"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("vevo poll: local.db ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;

    std::filesystem::remove("local.db");
    WriteFile("local.db", std::string(4096, 'x'));
    result = RunPollCommandWith({"--port", "/dev/null", "--kind", "heat"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("vevo poll: local.db ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_EQ(ReadFile("local.db"), std::string(4096, 'x')) << "left as it was";
}

TEST_F(PollingTest, TheTextTablesPrintEachRowAsSoonAsItsMeterIsDone) {
    AddMeter(PollKindHeat, 11111111);
    AddMeter(PollKindHeat, 22222222);
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    CTextPollingScreen screen(db_, PollKindHeat, false, 0, "", stream);
    const auto printed = [stream] {
        std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
        std::rewind(stream);
        std::fread(text.data(), 1, text.size(), stream);
        return text;
    };
    screen.ShowMeterRow(PollKindHeat, 2, {ErrorCell(PollKindHeat)});
    EXPECT_EQ(printed(), "22222222\t\t\t\t\t\t\t\t\t\tОшибка\n");
    std::fclose(stream);
}

TEST(PollCommand, BadArgumentsExitWithTwoAndOneLineBeforeTheHelpPointer) {
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
             {"--port", "/dev/x", "--kind", "heat", "--baud", "115200"},
             {"--port", "/dev/x", "--kind"},
             {"--port", "/dev/x", "--colour", "red"},
         }) {
        const auto result = RunPollCommandWith(words);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
        EXPECT_TRUE(result.err.ends_with("\nTry 'vevo poll --help'.\n")) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists("local.db")) << "bad arguments touch nothing";
}
