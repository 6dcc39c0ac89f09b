#include <gtest/gtest.h>

#include "update/PackList.h"

namespace {
CPackList Read(const std::string& json) {
    return ReadPackList(ParseJson(WidenBytes(json))->AsArray());
}

std::string Entry(const std::string& name, const std::string& dst, const std::string& size = "3",
                  const std::string& crc = "1") {
    return R"({"id":"1","name":")" + name + R"(","dst":")" + dst + R"(","size":")" + size +
           R"(","crc":")" + crc + "\"}";
}
}  // namespace

TEST(PackList, PlainNamesInPlainFoldersAreRead) {
    const CPackList pack =
        Read("[" + Entry("vevo", "") + "," + Entry("logo.png", "images/big", "10", "4294967295") +
             ",5," + R"({"name":"x"})" + "]");
    EXPECT_EQ(pack.problem, PackProblem::BadSize) << "an entry without a size is no entry";
    const CPackList good = Read("[" + Entry("vevo", "") + "," +
                                Entry("logo.png", "images/big", "10", "4294967295") + ",5]");
    ASSERT_EQ(good.problem, PackProblem::None);
    ASSERT_EQ(good.entries.size(), 2u);
    EXPECT_EQ(good.entries[1].Path(), "images/big/logo.png");
    EXPECT_EQ(good.entries[1].crc, 4294967295u) << "read as an unsigned 32-bit decimal";
    EXPECT_EQ(good.total, 13u);
}

TEST(PackList, OneUnsafeNameRefusesTheWholePack) {
    const std::vector<std::pair<std::string, std::string>> unsafe = {
        {"/etc/passwd", ""}, {"..", ""},     {"a..b", ""},     {"x", "/tmp"},   {"x", "a/../b"},
        {"x", ".."},         {"a\\\\b", ""}, {"it's", ""},     {"a$b", ""},     {"a`b", ""},
        {"a b", ""},         {"a\\nb", ""},  {"a\\u0001", ""}, {"-rf", ""},     {"x", "a//b"},
        {"x", "a/"},         {"", ""},       {"a\\\"b", ""},   {"\\u0444", ""}, {"x", "a;b"}};
    for (const auto& [name, dst] : unsafe) {
        const CPackList pack = Read("[" + Entry("ok", "") + "," + Entry(name, dst) + "]");
        EXPECT_EQ(pack.problem, PackProblem::UnsafeName) << name << " in " << dst;
        EXPECT_TRUE(pack.entries.empty());
    }
}

TEST(PackList, SizesAndCrcsAreDecimalsWithinBounds) {
    EXPECT_EQ(Read("[" + Entry("a", "", "67108865") + "]").problem, PackProblem::TooLarge);
    EXPECT_EQ(Read("[" + Entry("a", "", "99999999999999999999999") + "]").problem,
              PackProblem::BadSize);
    EXPECT_EQ(Read("[" + Entry("a", "", "-1") + "]").problem, PackProblem::BadSize);
    EXPECT_EQ(Read("[" + Entry("a", "", "3", "4294967296") + "]").problem, PackProblem::BadCrc);
    EXPECT_EQ(Read("[" + Entry("a", "", "3", "-1") + "]").entries.at(0).crc, 0xFFFFFFFFu)
        << "a negative CRC is its 32-bit two's complement";
    EXPECT_EQ(Read("[" + Entry("a", "", "3", "-2147483648") + "]").entries.at(0).crc, 0x80000000u);
    EXPECT_EQ(Read("[" + Entry("a", "", "3", "-2147483649") + "]").problem, PackProblem::BadCrc);
    EXPECT_EQ(Read("[" + Entry("a", "", "3", "") + "]").problem, PackProblem::BadCrc);
    EXPECT_EQ(Read("[]").problem, PackProblem::Empty);
    EXPECT_EQ(Read("[1,\"x\"]").problem, PackProblem::Empty);
}

TEST(PackList, EntriesThatMeetOnDiskRefuseThePack) {
    const std::vector<std::vector<std::pair<std::string, std::string>>> meeting = {
        {{"a.dll", ""}, {"a.dll", ""}},          {{"a.dll", "lib"}, {"A.DLL", "Lib"}},
        {{"vevo", ""}, {"vevo_u", ""}},          {{"vevo_u", ""}, {"vevo", ""}},
        {{"lib", ""}, {"a.dll", "lib"}},         {{"a.dll", "lib/x"}, {"x", "lib"}},
        {{"update.sh", ""}, {"b", ""}},          {{"update.bat_u", ""}},
        {{"vevo.manifest", ""}, {"vevo.manifest", ""}, {"b", ""}}};
    for (const auto& entries : meeting) {
        std::string json = "[";
        for (const auto& [name, dst] : entries) json += (json.size() > 1 ? "," : "") + Entry(name, dst);
        EXPECT_EQ(Read(json + "]").problem, PackProblem::Duplicate) << json;
    }
    const CPackList pack =
        Read("[" + Entry("vevo.manifest", "") + "," + Entry("vevo", "") + "," +
             Entry("vevo.manifest.minisig", "") + "," + Entry("vevo.manifest", "doc") + "]");
    ASSERT_EQ(pack.problem, PackProblem::None);
    ASSERT_EQ(pack.entries.size(), 2u) << "the manifest and its signature are not installed";
    EXPECT_EQ(pack.entries[1].Path(), "doc/vevo.manifest");
    EXPECT_TRUE(pack.manifest && pack.signature);
    EXPECT_EQ(pack.total, 12u);
}
