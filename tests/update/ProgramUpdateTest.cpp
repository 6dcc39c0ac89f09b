#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <thread>

#include "UpdateFixture.h"
#include "update/UpdateScript.h"

using Chunk = CFakeService::CChunk;
namespace fs = std::filesystem;

namespace {
// Every name under the folder, links as themselves.
std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.insert(entry.path().lexically_relative(folder).string());
    return names;
}

// A folder outside the program's folder, where a planted link points.
struct COutside {
    fs::path path = fs::path(testing::TempDir()) / ("vevo-outside-" + std::to_string(getpid()));
    COutside() { fs::create_directories(path); }
    ~COutside() { fs::remove_all(path); }
};

// A process id that no process has: a child's, once it has been reaped.
unsigned long EndedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return static_cast<unsigned long>(child);
}
}  // namespace

TEST_F(UpdateTest, ChunksAreAskedAtTheOffsetsAndLengthsTheReplySpeedGives) {
    fake.files = {{"12", "big.dat", "data", Bytes(12000, 2)}};
    CUpdateResult result = Update();
    ASSERT_EQ(result.outcome, UpdateOutcome::Started) << FailureReason(result);
    EXPECT_EQ(fake.Chunks(),
              (std::vector<Chunk>{{"12", 1, 5000}, {"12", 5001, 6999}, {"12", 12000, 6999}}));
    EXPECT_EQ(ReadFile("data/big.dat_u"), Bytes(12000, 2)) << "the missing folder is made";
    EXPECT_EQ(started, std::vector<fs::path>{dir.Path()});
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

TEST_F(UpdateTest, AReplyOfManyElementsMovesTheOffsetOnce) {
    fake.files = {{"1", "a.bin", "", Bytes(12000)}};
    fake.files[0].elements = 50;
    const CUpdateResult result = Update();
    ASSERT_EQ(result.outcome, UpdateOutcome::Started) << FailureReason(result);
    EXPECT_EQ(fake.Chunks(),
              (std::vector<Chunk>{{"1", 1, 5000}, {"1", 5001, 6999}, {"1", 12000, 6999}}));
    EXPECT_EQ(ReadFile("a.bin_u"), Bytes(12000));
}

TEST_F(UpdateTest, TheScriptWaitsForTheProgramMovesWhatCameAndStartsIt) {
    WriteFile("current.txt", "same");
    fake.files = {{"1", "current.txt", "", "same"},
                  {"3", "vevo", "", "#!/bin/sh\necho started >started.txt\n"},
                  {"4", "logo.png", "images", "png"}};
    settings.programProcess = 4242;
    const CUpdateResult result = Update();
    ASSERT_EQ(result.outcome, UpdateOutcome::Started) << FailureReason(result);
    EXPECT_EQ(fake.Chunks().size(), 2u) << "the current file is not fetched";
    EXPECT_EQ(ReadFile("update.sh"),
              "#!/bin/sh\ncd -- \"$(dirname -- \"$0\")\" || exit 1\n"
              "waited=0\nwhile kill -0 4242 2>/dev/null; do\n"
              "    [ \"$waited\" -lt 60 ] || exit 1\n    sleep 1\n    waited=$((waited + 1))\n"
              "done\n"
              "for path in 'vevo' 'vevo_u' 'images' 'images/logo.png' 'images/logo.png_u'; do\n"
              "    [ -L \"$path\" ] && exit 1\ndone\n"
              "mv -fT -- 'vevo_u' 'vevo' || exit 1\n"
              "mv -fT -- 'images/logo.png_u' 'images/logo.png' || exit 1\n"
              "chmod +x -- './vevo'\n"
              "'./vevo' >/dev/null 2>&1 &\n"
              "rm -f -- 'update.sh'\n");

    // Run as the program would leave it, once the program has ended.
    settings.programProcess = EndedProcess();
    fs::remove("update.sh");
    ASSERT_EQ(Update().outcome, UpdateOutcome::Started);
    WriteFile("vevo", "old program");
    ASSERT_EQ(std::system("/bin/sh update.sh"), 0);
    EXPECT_EQ(ReadFile("images/logo.png"), "png");
    EXPECT_FALSE(fs::exists("vevo_u"));
    EXPECT_FALSE(fs::exists("update.sh")) << "the script removes itself";
    // The started program may have created the file and not yet written it: wait for the line.
    for (int wait = 0; wait < 500 && ReadFile("started.txt") != "started\n"; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadFile("started.txt"), "started\n") << "the new program was started";

    // A link that appears before the script runs stops it before anything is moved.
    fake.files = {{"4", "logo.png", "images", "new png"}};
    ASSERT_EQ(Update().outcome, UpdateOutcome::Started);
    EXPECT_EQ(ReadFile("update.sh").find("chmod"), std::string::npos) << "the program is kept";
    fs::remove("images/logo.png");
    fs::create_symlink("/tmp", "images/logo.png");
    EXPECT_NE(std::system("/bin/sh update.sh"), 0);
    EXPECT_EQ(ReadFile("images/logo.png_u"), "new png");
}

TEST_F(UpdateTest, AMissingFileIsFetchedWhateverItsCrcAndNothingNewIsNothingToInstall) {
    WriteFile("a.txt", "A");
    fake.files = {{"1", "a.txt", "", "A"}, {"2", "missing.txt", "", ""}};
    fake.files[1].crcText = "0";
    ASSERT_EQ(Update().outcome, UpdateOutcome::Started);
    EXPECT_EQ(ReadFile("missing.txt_u"), "") << "fetched, though a missing file has CRC 0";

    fs::remove("update.sh");
    fake.files.pop_back();
    EXPECT_EQ(Update().outcome, UpdateOutcome::NothingToInstall);
    EXPECT_FALSE(fs::exists("update.sh"));
    EXPECT_EQ(started.size(), 1u);

    fake.pack = "[]";
    CUpdateResult result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::EmptyPack);
    fake.pack = "{\"id\":1}";
    result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::NoPackList);
    EXPECT_EQ(FailureReason(result), "no usable pack list (reply is no list)");
}

TEST_F(UpdateTest, AnUnsafeOrCollidingNameRefusesEverythingBeforeAnyDownload) {
    for (const char* dst : {"../outside", "/tmp", "a/./b"}) {
        fake.files = {{"1", "good.txt", "", "good"}, {"2", "evil", dst, "evil"}};
        const CUpdateResult result = Update();
        EXPECT_EQ(result.failure, UpdateFailure::UnsafeName) << dst;
        EXPECT_EQ(FailureReason(result), std::string("unsafe file name ") + dst + "/evil");
    }
    // The program deleted outright: its download name is another entry's name.
    fake.files = {{"1", "vevo", "", "new"}, {"2", "vevo_u", "", "other"}};
    CUpdateResult result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::DuplicateName);
    EXPECT_EQ(FailureReason(result), "two files of the pack meet at vevo_u");
    EXPECT_TRUE(fake.Chunks().empty());
    EXPECT_EQ(Listing(dir.Path()), std::set<std::string>{"console.log"});
    EXPECT_TRUE(started.empty());
}

TEST_F(UpdateTest, ACorruptedChunkIsFetchedAgainAndAPersistentOneInstallsNothing) {
    fake.files = {{"1", "first.txt", "", "first file"}, {"2", "data.bin", "", Bytes(4000)}};
    fake.files[1].corruptReplies = 1;
    ASSERT_EQ(Update().outcome, UpdateOutcome::Started);
    EXPECT_EQ(ReadFile("data.bin_u"), Bytes(4000)) << "the second fetch was right";

    fs::remove("update.sh");
    fs::remove("first.txt_u");
    fake.files[1].corruptReplies = 100;
    const CUpdateResult result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::CrcMismatch);
    EXPECT_EQ(FailureReason(result), "wrong crc after download of data.bin");
    EXPECT_FALSE(fs::exists("first.txt_u")) << "nothing of the update is left";
    EXPECT_FALSE(fs::exists("update.sh"));
}

TEST_F(UpdateTest, AnUnansweredChunkOrAScriptThatCannotBeWrittenStopsTheUpdate) {
    fake.files = {{"1", "a.txt", "", "aaa"}};
    fake.files[0].unanswered = true;
    CUpdateResult result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::ChunkUnanswered);
    EXPECT_EQ(fake.Chunks().size(), 5u) << "asked again a few times";

    fake.files = {{"1", "a.txt", "", "aaa"}};
    fs::create_directory("update.sh");
    result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::ScriptNotWritten);
    EXPECT_FALSE(fs::exists("a.txt_u"));
    EXPECT_TRUE(started.empty());
}

TEST_F(UpdateTest, ADrippingGatewayIsCutByTheCallDeadlineAndTheUpdateDeadline) {
    fake.files = {{"1", "a.bin", "", Bytes(3000)}};
    fake.files[0].drip = std::chrono::milliseconds(20);
    settings.fetch.callDeadline = std::chrono::milliseconds(200);
    settings.fetch.chunkTries = 2;
    auto start = std::chrono::steady_clock::now();
    CUpdateResult result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::ChunkUnanswered);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    settings.fetch.callDeadline = std::chrono::seconds(30);
    settings.fetch.updateBase = std::chrono::milliseconds(300);
    settings.fetch.updatePerMiB = std::chrono::milliseconds(100);
    start = std::chrono::steady_clock::now();
    result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::TimedOut);
    EXPECT_EQ(FailureReason(result), "the update took too long");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(fs::exists("a.bin_u"));
}

TEST_F(UpdateTest, AStopRequestEndsBetweenChunks) {
    struct CStopAfterOne : CUpdateObserver {
        const CFakeService& fake;
        explicit CStopAfterOne(const CFakeService& service) : fake(service) {}
        bool StopRequested() const override { return !fake.Chunks().empty(); }
    } stopping(fake);
    fake.files = {{"1", "a.bin", "", Bytes(20000)}};
    const CRemoteService service(info, fake.Address());
    const CUpdateResult result =
        RunProgramUpdate(service, {"7", "fp1", "v.0.06"}, settings, stopping);
    EXPECT_EQ(result.outcome, UpdateOutcome::Stopped);
    EXPECT_EQ(fake.Chunks().size(), 1u);
    EXPECT_FALSE(fs::exists("update.sh"));
}

TEST_F(UpdateTest, ALinkAtADownloadNameOrAtTheScriptIsReplacedNeverWrittenThrough) {
    const COutside outside;
    const fs::path victim = outside.path / "victim";
    WriteFile(victim, "kept");
    fs::create_symlink(victim, dir.Path() / "vevo_u");
    fs::create_symlink(victim, dir.Path() / "update.sh");
    fs::create_symlink(victim, dir.Path() / "update.sh_u");
    fake.files = {{"1", "vevo", "", "new program"}};
    const CRemoteService service(info, fake.Address());
    ASSERT_EQ(RunProgramUpdate(service, {"7", "fp1", "v.0.06"}, settings, observer).outcome,
              UpdateOutcome::Started);
    EXPECT_EQ(ReadFile(victim), "kept");
    EXPECT_FALSE(fs::is_symlink(dir.Path() / "vevo_u"));
    EXPECT_EQ(ReadFile(dir.Path() / "vevo_u"), "new program");
    EXPECT_FALSE(fs::is_symlink(dir.Path() / "update.sh"));
    EXPECT_FALSE(fs::exists(dir.Path() / "update.sh_u"));
}

TEST_F(UpdateTest, ALinkAtAFolderOrAtATargetRefusesTheUpdate) {
    const COutside outside;
    fs::create_directory_symlink(outside.path, dir.Path() / "images");
    fake.files = {{"1", "a.txt", "", "a"}, {"2", "logo.png", "images", "png"}};
    const CRemoteService service(info, fake.Address());
    CUpdateResult result = RunProgramUpdate(service, {"7", "fp1", "v.0.06"}, settings, observer);
    EXPECT_EQ(result.failure, UpdateFailure::LinkInTheWay);
    EXPECT_EQ(FailureReason(result), "a link is in the way of images/logo.png");
    EXPECT_TRUE(fs::is_empty(outside.path));

    fs::remove(dir.Path() / "images");
    WriteFile(outside.path / "victim", "kept");
    fs::create_symlink(outside.path / "victim", dir.Path() / "a.txt");
    result = RunProgramUpdate(service, {"7", "fp1", "v.0.06"}, settings, observer);
    EXPECT_EQ(result.failure, UpdateFailure::LinkInTheWay);
    EXPECT_EQ(ReadFile(outside.path / "victim"), "kept");
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a.txt", "console.log"}))
        << "nothing written";
    EXPECT_TRUE(fake.Chunks().empty());
}

TEST_F(UpdateTest, APipeAtATargetIsRefusedRatherThanRead) {
    ASSERT_EQ(mkfifo("a.txt", 0600), 0);
    fake.files = {{"1", "a.txt", "", "a"}};
    const CUpdateResult result = Update();
    EXPECT_EQ(result.failure, UpdateFailure::NotRegular);
    EXPECT_EQ(FailureReason(result), "no regular file at a.txt");
}

TEST_F(UpdateTest, ASignedPackIsInstalledWithoutItsManifestOfEitherSignatureKind) {
    for (const bool hashed : {true, false}) {
        fake.files = {{"1", "vevo", "", "new program"}, {"2", "logo.png", "images", "png"}};
        SignPack("v.0.06", hashed);
        const CUpdateResult result = Update();
        ASSERT_EQ(result.outcome, UpdateOutcome::Started) << FailureReason(result);
        EXPECT_EQ(ReadFile("vevo_u"), "new program");
        EXPECT_EQ(ReadFile("images/logo.png_u"), "png");
        EXPECT_FALSE(fs::exists("vevo.manifest_u"));
        EXPECT_EQ(ReadFile("update.sh").find("manifest"), std::string::npos);
        EXPECT_EQ(fake.Chunks().at(0).id, "m") << "the manifest comes first";
    }
    // A current file is one whose size and SHA-256 the manifest lists.
    WriteFile("vevo", "new program");
    fs::remove("update.sh");
    EXPECT_EQ(Update().outcome, UpdateOutcome::Started);
    EXPECT_EQ(ReadFile("update.sh").find("'vevo_u'"), std::string::npos);
}

class SignedUpdateTest : public UpdateTest {
protected:
    SignedUpdateTest() {
        WriteFile("vevo", "old program");
        fake.files = {{"1", "vevo", "", "new program"}, {"2", "logo.png", "images", "png"}};
    }
    // The update is refused for `failure`, and nothing of the pack was written.
    void ExpectRefused(UpdateFailure failure, const std::string& version = "v.0.06") {
        const CUpdateResult result = Update(version);
        EXPECT_EQ(result.outcome, UpdateOutcome::Failed);
        EXPECT_EQ(result.failure, failure) << FailureReason(result);
        EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"vevo", "console.log"}));
        EXPECT_TRUE(started.empty());
    }
};

TEST_F(SignedUpdateTest, AnUnsignedPackIsRefused) {
    settings.publicKey = signer.PublicKeyLine();
    ExpectRefused(UpdateFailure::NoManifest);
    SignPack();
    fake.files.pop_back();
    ExpectRefused(UpdateFailure::NoSignature);
    EXPECT_EQ(FailureReason(Update()), "the pack is not signed: no vevo.manifest.minisig");
}

TEST_F(SignedUpdateTest, APackSignedWithAnotherKeyOrNotAtAllIsRefused) {
    SignPack();
    settings.publicKey = CTestSigner().PublicKeyLine();
    ExpectRefused(UpdateFailure::OtherKey);
    settings.publicKey = signer.PublicKeyLine();
    // A line added to the signed manifest.
    fake.files[2].bytes += "0000000000000000000000000000000000000000000000000000000000000000 1 x\n";
    ExpectRefused(UpdateFailure::BadSignature);
}

TEST_F(SignedUpdateTest, ATamperedFileIsRefusedThoughItsCrcMatches) {
    SignPack();
    fake.files[0].bytes = "evil program";  // the pack list's CRC is that of the evil bytes
    fake.files[0].bytes.resize(std::string("new program").size());
    ExpectRefused(UpdateFailure::HashMismatch);
    EXPECT_EQ(FailureReason(Update()), "vevo does not match the signed manifest");
}

TEST_F(SignedUpdateTest, AReplayedManifestOfAnotherVersionIsRefused) {
    SignPack("v.0.04");
    ExpectRefused(UpdateFailure::WrongVersion);
    EXPECT_EQ(FailureReason(Update()), "the signed manifest is for version v.0.04");
}

TEST_F(SignedUpdateTest, AnEntryTheManifestDoesNotListAsItIsIsRefused) {
    SignPack();
    fake.files.insert(fake.files.begin(), {"9", "extra.dll", "", "unlisted"});
    ExpectRefused(UpdateFailure::Unlisted);
    fake.files.erase(fake.files.begin());
    fake.files[1].bytes += "!";
    ExpectRefused(UpdateFailure::SizeDiffers);
    fake.files.erase(fake.files.begin() + 1);
    ExpectRefused(UpdateFailure::NotInPack);
    EXPECT_EQ(FailureReason(Update()), "images/logo.png of the signed manifest is not in the pack");
}
