#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/TempWorkDir.h"
#include "support/TestSigner.h"
#include "update/Manifest.h"
#include "update/Minisign.h"

namespace {
std::string Line(const std::string& text, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) start = text.find('\n', start) + 1;
    return text.substr(start, text.find('\n', start) - start);
}
}  // namespace

// What the publisher's own tools write: the signing script's manifest, minisign's pre-hashed
// signature of it and its legacy one.
TEST(Minisign, TheSigningScriptsManifestAndMinisignsSignaturesOfBothKindsAreAccepted) {
    if (!std::filesystem::exists("/usr/bin/minisign")) GTEST_SKIP() << "minisign is not installed";
    CTempWorkDir dir;
    std::filesystem::create_directories("release/images");
    WriteFile("release/vevo", "program");
    WriteFile("release/images/logo.png", "png");
    ASSERT_EQ(std::system("minisign -G -W -p key.pub -s key.sec >/dev/null && "
                          "bash " VEVO_SOURCE_DIR "/tools/sign-update.sh release key.sec v.0.06 "
                          ">/dev/null && minisign -S -l -s key.sec -m release/vevo.manifest "
                          "-x legacy.minisig >/dev/null"),
              0);
    const auto key = ReadPublicKey(Line(ReadFile("key.pub"), 1));
    ASSERT_TRUE(key);
    const std::string text = ReadFile("release/vevo.manifest");
    const std::string hashed = ReadFile("release/vevo.manifest.minisig");
    const std::string legacy = ReadFile("legacy.minisig");
    // "ED" and "Ed" in Base64.
    EXPECT_EQ(Line(hashed, 1).substr(0, 2), "RU") << "minisign pre-hashes by default";
    EXPECT_EQ(Line(legacy, 1).substr(0, 2), "RW");
    EXPECT_EQ(VerifyMinisign(*key, text, hashed), SignatureCheck::Good);
    EXPECT_EQ(VerifyMinisign(*key, text, legacy), SignatureCheck::Good);

    const auto manifest = ReadManifest(text);
    ASSERT_TRUE(manifest);
    EXPECT_EQ(manifest->version, "v.0.06");
    ASSERT_EQ(manifest->files.size(), 2u);
    EXPECT_TRUE(MatchesManifest(manifest->files.at("vevo"), "program"));
    EXPECT_TRUE(MatchesManifest(manifest->files.at("images/logo.png"), "png"));
    EXPECT_FALSE(MatchesManifest(manifest->files.at("vevo"), "progran"));

    std::string comment = hashed;
    comment.insert(comment.find("file:"), "x");
    EXPECT_EQ(VerifyMinisign(*key, text, comment), SignatureCheck::Bad)
        << "the trusted comment is signed too";
    EXPECT_EQ(VerifyMinisign(*key, text + "\n", hashed), SignatureCheck::Bad);
    EXPECT_EQ(VerifyMinisign(*ReadPublicKey(CTestSigner().PublicKeyLine()), text, hashed),
              SignatureCheck::OtherKey);
    EXPECT_EQ(VerifyMinisign(*key, text, "untrusted comment: x\n"), SignatureCheck::Unreadable);
}
