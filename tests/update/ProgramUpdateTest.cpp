#include <sys/stat.h>

#include <cstdlib>
#include <thread>

#include "UpdateFixture.h"
#include "update/Crc32.h"
#include "update/UpdateScript.h"

using Chunk = CFakeService::CChunk;

namespace {
std::string Quoted(const std::filesystem::path& path) {
    return ShellQuoted(path.string());
}
}  // namespace

TEST_F(UpdateTest, ChunksAreAskedAtTheOffsetsAndLengthsTheReplySpeedGives) {
    fake.files = {{"12", "big.dat", "data", Bytes(12000, 2)}};
    CUpdateResult result = Update();
    ASSERT_EQ(result.outcome, UpdateOutcome::Started) << FailureReason(result);
    EXPECT_EQ(fake.Chunks(),
              (std::vector<Chunk>{{"12", 1, 5000}, {"12", 5001, 6999}, {"12", 12000, 6999}}));
    EXPECT_EQ(ReadFile("data/big.dat_u"), Bytes(12000, 2)) << "the missing folder is made";
    EXPECT_EQ(started, std::vector<std::filesystem::path>{dir.Path()});
}

TEST_F(UpdateTest, ASmallFileIsOneChunkAndTheAdaptedLengthCarriesToTheNextFile) {
    fake.files = {{"11", "small.dat", "", Bytes(3000)}, {"12", "big.dat", "", Bytes(12000, 2)}};
    const CUpdateResult result = Update();
    ASSERT_EQ(result.outcome, UpdateOutcome::Started) << FailureReason(result);
    // After the small file the length has run below 1, so the next file is asked whole.
    EXPECT_EQ(fake.Chunks(), (std::vector<Chunk>{{"11", 1, 3000}, {"12", 1, 12000}}));
    EXPECT_EQ(ReadFile("small.dat_u"), Bytes(3000));
    EXPECT_EQ(ReadFile("big.dat_u"), Bytes(12000, 2));
}

TEST_F(UpdateTest, TheScriptInstallsWhatCameAndStartsTheLaterOwnProgram) {
    WriteFile("current.txt", "same");
    fake.files = {{"1", "current.txt", "", "same"},
                  {"2", "vevo", "old", "#!/bin/sh\n"},
                  {"3", "vevo", "", "#!/bin/sh\necho started >started.txt\n"},
                  {"4", "logo.png", "images", "png"}};
    const CUpdateResult result = Update();
    ASSERT_EQ(result.outcome, UpdateOutcome::Started) << FailureReason(result);
    EXPECT_EQ(fake.Chunks().size(), 3u) << "the current file is not fetched";
    const std::filesystem::path folder = dir.Path();
    EXPECT_EQ(ReadFile("update.sh"),
              "#!/bin/sh\nsleep 0\n"
              "rm -f " +
                  Quoted(folder / "old/vevo") +
                  "\n"
                  "mv -f " +
                  Quoted(folder / "old/vevo_u") + " " + Quoted(folder / "old/vevo") +
                  "\n"
                  "rm -f " +
                  Quoted(folder / "vevo") +
                  "\n"
                  "mv -f " +
                  Quoted(folder / "vevo_u") + " " + Quoted(folder / "vevo") +
                  "\n"
                  "rm -f " +
                  Quoted(folder / "images/logo.png") +
                  "\n"
                  "mv -f " +
                  Quoted(folder / "images/logo.png_u") + " " + Quoted(folder / "images/logo.png") +
                  "\n"
                  "chmod +x " +
                  Quoted(folder / "vevo") +
                  "\n"
                  "cd " +
                  Quoted(folder) + " && " + Quoted(folder / "vevo") +
                  " >/dev/null 2>&1 &\n"
                  "rm -f " +
                  Quoted(folder / "update.sh") + "\n");

    // Run as the program would leave it: the files swap and the new program starts.
    WriteFile("vevo", "old program");
    ASSERT_EQ(std::system("/bin/sh update.sh"), 0);
    EXPECT_EQ(ReadFile("images/logo.png"), "png");
    EXPECT_FALSE(std::filesystem::exists("vevo_u"));
    EXPECT_FALSE(std::filesystem::exists("update.sh")) << "the script removes itself";
    // The started program may have created the file and not yet written it: wait for the line.
    for (int wait = 0; wait < 500 && ReadFile("started.txt") != "started\n"; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadFile("started.txt"), "started\n") << "the new program was started";
}

TEST_F(UpdateTest, WithoutTheProgramAmongTheFilesTheRunningProgramIsStartedAgain) {
    fake.files = {{"4", "logo.png", "", "png"}};
    settings.programPath = "/opt/it's/vevo";
    ASSERT_EQ(Update().outcome, UpdateOutcome::Started);
    const std::string script = ReadFile("update.sh");
    EXPECT_NE(script.find("&& '/opt/it'\\''s/vevo' >/dev/null"), std::string::npos)
        << "quoted safely whatever the path holds\n"
        << script;
    EXPECT_EQ(script.find("chmod"), std::string::npos);
}

TEST_F(UpdateTest, NothingDownloadedIsNothingToInstallAndNoScript) {
    WriteFile("a.txt", "A");
    fake.files = {{"1", "a.txt", "", "A"}, {"2", "missing.txt", "", ""}};
    fake.files[1].crcText = "0";  // a missing file has CRC 0: it counts as current
    EXPECT_EQ(Update().outcome, UpdateOutcome::NothingToInstall);
    EXPECT_TRUE(fake.Chunks().empty());
    EXPECT_FALSE(std::filesystem::exists("update.sh"));
    EXPECT_TRUE(started.empty());

    fake.pack = "[]";
    CUpdateResult result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::EmptyPack);
    fake.pack = "{\"id\":1}";
    result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::NoPackList);
    EXPECT_EQ(FailureReason(result), "no usable pack list (reply is no list)");
}

TEST_F(UpdateTest, AnUnsafeNameRefusesEverythingBeforeAnyDownload) {
    for (const char* dst : {"../outside", "/tmp", "a/./b"}) {
        fake.files = {{"1", "good.txt", "", "good"}, {"2", "evil", dst, "evil"}};
        const CUpdateResult result = Update();
        EXPECT_EQ(result.failure, UpdateFailure::UnsafeName) << dst;
        EXPECT_EQ(FailureReason(result), std::string("unsafe file name ") + dst + "/evil");
    }
    EXPECT_TRUE(fake.Chunks().empty());
    EXPECT_FALSE(std::filesystem::exists("good.txt_u"));
    EXPECT_FALSE(std::filesystem::exists("update.sh"));
    EXPECT_TRUE(started.empty());
}

TEST_F(UpdateTest, ACorruptedChunkIsFetchedAgainAndAPersistentOneInstallsNothing) {
    fake.files = {{"1", "first.txt", "", "first file"}, {"2", "data.bin", "", Bytes(4000)}};
    fake.files[1].corruptReplies = 1;
    ASSERT_EQ(Update().outcome, UpdateOutcome::Started);
    EXPECT_EQ(ReadFile("data.bin_u"), Bytes(4000)) << "the second fetch was right";

    std::filesystem::remove("update.sh");
    std::filesystem::remove("first.txt_u");
    fake.files[1].corruptReplies = 100;
    const CUpdateResult result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::CrcMismatch);
    EXPECT_EQ(FailureReason(result), "wrong crc after download of data.bin");
    EXPECT_FALSE(std::filesystem::exists("first.txt_u")) << "nothing of the update is left";
    EXPECT_FALSE(std::filesystem::exists("update.sh"));
}

TEST_F(UpdateTest, AnUnansweredChunkOrAFileThatCannotBeWrittenStopsTheUpdate) {
    fake.files = {{"1", "a.txt", "", "aaa"}};
    fake.files[0].unanswered = true;
    CUpdateResult result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::ChunkUnanswered);
    EXPECT_EQ(fake.Chunks().size(), 5u) << "asked again a few times";

    WriteFile("blocked", "a file where a folder should be");
    fake.files = {{"1", "a.txt", "blocked", "aaa"}};
    result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::WriteFailed);
    EXPECT_EQ(FailureReason(result), "could not write blocked/a.txt");

    fake.files = {{"1", "a.txt", "", "aaa"}};
    std::filesystem::create_directory("update.sh");
    result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::ScriptNotWritten);
    EXPECT_FALSE(std::filesystem::exists("a.txt_u"));
    EXPECT_TRUE(started.empty());
}

TEST_F(UpdateTest, AStopRequestEndsBetweenChunks) {
    struct CStopAfterOne : CUpdateObserver {
        mutable int asked = 0;
        bool StopRequested() const override { return ++asked > 2; }
    } stopping;
    fake.files = {{"1", "a.bin", "", Bytes(20000)}};
    const CRemoteService service(info, fake.Address());
    const CUpdateResult result =
        RunProgramUpdate(service, {"7", "fp1", "v.0.06"}, settings, stopping);
    EXPECT_EQ(result.outcome, UpdateOutcome::Stopped);
    EXPECT_EQ(fake.Chunks().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists("update.sh"));
}
