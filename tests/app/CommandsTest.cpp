#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Commands.h"

namespace {
std::optional<int> RunWith(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    return RunCommand(static_cast<int>(argv.size()), argv.data());
}
}  // namespace

TEST(Commands, OnlyNoArgumentsOrWindowOptionsStartTheWindow) {
    EXPECT_EQ(RunWith({"vevo"}), std::nullopt);
    EXPECT_EQ(RunWith({"vevo", "--screenshots", "shots"}), std::nullopt);
    EXPECT_EQ(RunWith({"vevo", "-platform", "offscreen"}), std::nullopt);
}

TEST(Commands, AWordThatIsNoCommandListsTheCommandsAndGivesTwo) {
    for (const char* word : {"sideways", "Poll", ""}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunWith({"vevo", word}), 2) << word;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("  poll "), std::string::npos) << said;
    }
}
