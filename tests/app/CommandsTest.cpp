#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "support/TempWorkDir.h"

namespace {
struct CRun {
    std::optional<int> status;
    std::string out;
    std::string err;
};

CRun RunWith(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const auto status = RunCommand(static_cast<int>(argv.size()), argv.data());
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}

// How a manual page writes an option: its dashes escaped as minus signs.
std::string InManualPage(const std::string& text) {
    std::string escaped;
    for (const char c : text) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
    return escaped;
}
}  // namespace

TEST(Commands, OnlyNoArgumentsOrWindowOptionsStartTheWindow) {
    EXPECT_EQ(RunWith({"vevo"}).status, std::nullopt);
    EXPECT_EQ(RunWith({"vevo", "--screenshots", "shots"}).status, std::nullopt);
    EXPECT_EQ(RunWith({"vevo", "-platform", "offscreen"}).status, std::nullopt);
}

TEST(Commands, EveryCommandsHelpNamesItsOptionsAndExitStatusesAndExitsZero) {
    CTempWorkDir dir;
    for (const CCommand& command : CommandTable()) {
        const std::string word = command.syntax.word;
        const CRun run = RunWith({"vevo", word, "--help"});
        EXPECT_EQ(run.status, 0) << word;
        EXPECT_EQ(run.err, "") << word;
        EXPECT_EQ(run.out.rfind("Usage: vevo " + word, 0), 0u) << run.out;
        for (const CCommandOption& option : command.syntax.options)
            EXPECT_NE(run.out.find(std::string("  --") + option.name), std::string::npos)
                << word << " --" << option.name;
        for (const CCommandExit& exit : command.syntax.exits)
            EXPECT_NE(run.out.find("\n  " + std::to_string(exit.status) + "  "), std::string::npos)
                << word << " " << exit.status;
        EXPECT_EQ(RunWith({"vevo", "help", word}).out, run.out) << word;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "help touches nothing";
}

TEST(Commands, TheProgramsHelpListsTheCommandsAndItsVersionIsTheCaptions) {
    for (const char* help : {"--help", "-h", "help"}) {
        const CRun run = RunWith({"vevo", help});
        EXPECT_EQ(run.status, 0) << help;
        for (const CCommand& command : CommandTable())
            EXPECT_NE(run.out.find(std::string("\n  ") + command.syntax.word + " "),
                      std::string::npos)
                << run.out;
    }
    for (const char* version : {"--version", "version"}) {
        const CRun run = RunWith({"vevo", version});
        EXPECT_EQ(run.status, 0) << version;
        EXPECT_EQ(run.out, "Vevo v.0.05\n") << version;
    }
}

TEST(Commands, ABadOptionOrValueIsNamedAndPointsToTheCommandsHelp) {
    CTempWorkDir dir;
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"poll", "--port", "/dev/x", "--kind", "steam"},
         "vevo poll: --kind takes heat, water_cold or water_hot\n"},
        {{"archive", "--colour", "red"}, "vevo archive: Unknown option 'colour'.\n"},
        {{"export", "--kind"}, "vevo export: Missing value after '--kind'.\n"},
        {{"import", "devices"}, "vevo import: missing FILE\n"},
        {{"update", "--check", "now"}, "vevo update: unexpected argument 'now'\n"},
    };
    for (const auto& [words, complaint] : cases) {
        std::vector<std::string> argv = {"vevo"};
        argv.insert(argv.end(), words.begin(), words.end());
        const CRun run = RunWith(argv);
        EXPECT_EQ(run.status, 2) << complaint;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, complaint + "Try 'vevo " + words[0] + " --help'.\n");
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "bad arguments touch nothing";
}

TEST(Commands, AWordThatIsNoCommandSuggestsTheNearestOne) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pol", "; did you mean 'poll'?"},
        {"Poll", "; did you mean 'poll'?"},
        {"exprot", "; did you mean 'export'?"},
        {"verison", "; did you mean 'version'?"},
        {"sideways", ""},
        {"", ""},
    };
    for (const auto& [word, suggestion] : cases) {
        const std::string said =
            "vevo: '" + word + "' is not a command" + suggestion + "\nTry 'vevo --help'.\n";
        CRun run = RunWith({"vevo", word});
        EXPECT_EQ(run.status, 2) << word;
        EXPECT_EQ(run.err, said);
        run = RunWith({"vevo", "help", word});
        EXPECT_EQ(run.status, 2) << word;
        EXPECT_EQ(run.err, said);
    }
}

TEST(Commands, TheManualPageNamesEveryCommandAndOption) {
    const std::string page = ReadFile(VEVO_SOURCE_DIR "/app/vevo.1");
    for (const CCommand& command : CommandTable()) {
        const std::string word = command.syntax.word;
        EXPECT_NE(page.find(".SS \"vevo " + word), std::string::npos) << word;
        for (const CCommandOption& option : command.syntax.options)
            EXPECT_NE(page.find(InManualPage(std::string("--") + option.name)), std::string::npos)
                << word << " --" << option.name;
    }
}
