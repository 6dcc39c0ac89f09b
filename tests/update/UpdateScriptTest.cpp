// The installer script as the platform's own shell runs it: update.sh by /bin/sh, update.bat by
// cmd.exe (under Wine in the Windows core build).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "support/TempWorkDir.h"
#include "update/UpdateScript.h"

namespace fs = std::filesystem;

namespace {
const bool kWindows = std::string(kScriptName) == "update.bat";
// No process has this id: Linux's ids stay below 2^22, Windows' are small multiples of 4.
constexpr unsigned long kNoProcess = 4000000000UL;

// The new program only leaves a mark that it was started.
const std::string kProgram = kWindows ? "vevo.bat" : "vevo";
const std::string kProgramText = kWindows ? "@echo started>started.txt\r\n@exit\r\n"
                                          : "#!/bin/sh\necho started >started.txt\n";

int RunScript() {
    return std::system(kWindows ? "cmd /d /c update.bat" : "/bin/sh update.sh");
}

std::string WaitForFile(const char* name) {
    for (int wait = 0; wait < 1000 && ReadFile(name).empty(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ReadFile(name);
}

struct UpdateScriptTest : testing::Test {
    CTempWorkDir folder;
    CScriptPlan plan{{kProgram, "data.txt", "images/logo.png"}, kProgram, true, kNoProcess};

    UpdateScriptTest() {
        fs::create_directory("images");
        WriteFile("data.txt", "old");
        WriteFile("data.txt_u", "new");
        WriteFile("images/logo.png_u", "png");
        WriteFile(kProgram, "old program");
        WriteFile(kProgram + "_u", kProgramText);
    }
};
}  // namespace

TEST_F(UpdateScriptTest, MovesTheFilesStartsTheNewProgramAndGoes) {
    // The program has ended (Wine's tasklist lists no process, so there the wait is not seen).
    ASSERT_EQ(WriteScript(folder.Path(), plan), WriteOutcome::Written);
    EXPECT_EQ(RunScript(), 0);
    EXPECT_EQ(ReadFile("data.txt"), "new");
    EXPECT_EQ(ReadFile("images/logo.png"), "png");
    EXPECT_FALSE(fs::exists("data.txt_u"));
    EXPECT_EQ(WaitForFile("started.txt").substr(0, 7), "started") << "the new program started";
    EXPECT_FALSE(fs::exists(kScriptName)) << "the script removes itself";
}
