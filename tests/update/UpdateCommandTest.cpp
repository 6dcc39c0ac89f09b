#include <string>
#include <vector>

#include "UpdateFixture.h"
#include "update/UpdateCommand.h"

namespace {
struct CCommandResult {
    int status;
    std::string out;
};
}  // namespace

class UpdateCommandTest : public UpdateTest {
protected:
    CCommandResult Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"vevo", "update"});
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        testing::internal::CaptureStdout();
        const int status = RunUpdateCommandWith(static_cast<int>(argv.size()), argv.data(),
                                                fake.Address(), settings);
        return {status, testing::internal::GetCapturedStdout()};
    }
};

TEST_F(UpdateCommandTest, CheckSaysWhatThePublishedVersionIs) {
    EXPECT_EQ(Run({"--check"}).out, "new version v.0.06\n");
    EXPECT_EQ(Run({"--check"}).status, 0);
    EXPECT_TRUE(fake.Chunks().empty()) << "a check downloads nothing";
    fake.projectInfo = R"([{"project_version":"v.0.04"}])";
    const CCommandResult older = Run({"--check"});
    EXPECT_EQ(older.out, "up to date v.0.05\n");
    EXPECT_EQ(older.status, 0);
    fake.projectInfo = R"([{"project_version":"v.0.07\u001b[2J\r"}])";
    EXPECT_EQ(Run({"--check"}).out, "new version v.0.07\\x1B[2J\\r\n")
        << "what the gateway sends cannot drive the terminal";
    fake.identify = "not json";
    const CCommandResult none = Run({"--yes"});
    EXPECT_EQ(none.out, "no answer: reply is no JSON\n");
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(Run({}).status, 2);
    EXPECT_EQ(Run({"--maybe"}).status, 2);
}

TEST_F(UpdateCommandTest, YesInstallsWithoutQuestionsAndSaysWhatItDid) {
    WriteFile("same.txt", "same");
    fake.files = {{"1", "same.txt", "", "same"}, {"2", "logo.png", "images", "png!"}};
    CCommandResult result = Run({"--yes"});
    EXPECT_EQ(result.out,
              "new version v.0.06\ncurrent same.txt\nfetched images/logo.png 4 bytes\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(started.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists("update.sh"));

    std::filesystem::remove("update.sh");
    fake.files.pop_back();
    result = Run({"--yes"});
    EXPECT_EQ(result.out, "new version v.0.06\ncurrent same.txt\nnothing to install\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_FALSE(std::filesystem::exists("update.sh"));

    fake.files = {{"1", "bad", "..", "x"}};
    result = Run({"--yes"});
    EXPECT_EQ(result.out, "new version v.0.06\nupdate failed: unsafe file name ../bad\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(started.size(), 1u);
}

TEST_F(UpdateCommandTest, AProgramOutsideItsWorkingFolderIsNotUpdated) {
    settings.programPath = "/opt/vevo/vevo";
    const CCommandResult result = Run({"--check"});
    EXPECT_EQ(result.out, "update not possible: /opt/vevo/vevo is not the program of the working "
                          "folder " +
                              dir.Path().string() + "\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(fake.gateway.Queries().empty());
}
