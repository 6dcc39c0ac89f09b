#include <gtest/gtest.h>

#include <cmath>

#include "update/Base64.h"
#include "update/Crc32.h"
#include "update/Json.h"

namespace {
std::unique_ptr<JSONValue> Parse(const std::string& text) {
    return ParseJson(WidenBytes(text));
}
}  // namespace

TEST(Json, CompleteValuesParseAndAnythingElseGivesNothing) {
    for (const char* bad :
         {"", "  \r\n", "[1] x", "nul", "-", "1.", ".5", "1e", "01", "[1,]", "{\"a\" 1}",
          "\"\\u00g1\"", "\"a\nb\"", "\"open", "[1", "{\"a\":1,}", "\"\\x\"", "tru"}) {
        EXPECT_EQ(Parse(bad), nullptr) << bad;
    }
    EXPECT_TRUE(Parse("[]")->AsArray().empty());
    const auto one = Parse("[{}]");
    ASSERT_EQ(one->AsArray().size(), 1u);
    EXPECT_TRUE(one->AsArray()[0]->IsObject());
    EXPECT_TRUE(Parse("[1]\r\n")->IsArray());
    EXPECT_EQ(Parse("TRUE")->Kind(), JSONKind::Bool);
    EXPECT_FALSE(Parse(" False ")->AsBool());
    EXPECT_EQ(Parse("NULL")->Kind(), JSONKind::Null);
}

TEST(Json, NumbersStringsAndDuplicateKeys) {
    EXPECT_DOUBLE_EQ(Parse("2.5e2")->AsNumber(), 250);
    EXPECT_NEAR(Parse("-1E-1")->AsNumber(), -0.1, 1e-12);
    EXPECT_DOUBLE_EQ(Parse("0")->AsNumber(), 0);
    EXPECT_TRUE(std::isinf(Parse("1e99999999999")->AsNumber())) << "and at once";
    EXPECT_EQ(Parse("1e-99999999999")->AsNumber(), 0);
    EXPECT_EQ(Parse("0e526")->AsNumber(), 0) << "a zero stays a number whatever its exponent";
    EXPECT_FALSE(std::isnan(Parse("1" + std::string(400, '0') + "e-400")->AsNumber()));
    EXPECT_EQ(Parse("\"\\u0041\\n\\/\"")->AsString(), u"A\n/");
    EXPECT_EQ(Parse("\"a\tb\"")->AsString(), u"a\tb") << "a raw tab is kept";
    const auto object = Parse(R"({"k":"first","k":"second","n":5})");
    EXPECT_EQ(StringField(*object, u"k"), "second");
    EXPECT_EQ(StringField(*object, u"n"), "") << "only strings are read";
    EXPECT_EQ(StringField(*object, u"missing"), "");
}

TEST(Json, NestingAndValuesAreBoundedAndReplyBytesComeThroughUnchanged) {
    EXPECT_NE(Parse(std::string(60, '[') + std::string(60, ']')), nullptr);
    EXPECT_EQ(Parse(std::string(100000, '[') + std::string(100000, ']')), nullptr)
        << "a hostile nesting is no answer, not a crash";
    EXPECT_NE(ParseJson(u"[0,{\"a\":1}]", 4), nullptr);
    EXPECT_EQ(ParseJson(u"[0,{\"a\":1}]", 3), nullptr) << "more values than allowed";
    const std::string bytes = "v.\xc0\xff";
    EXPECT_EQ(StringField(*Parse("{\"v\":\"" + bytes + "\"}"), u"v"), bytes);
    EXPECT_EQ(RootArray(Parse("{}").get()), nullptr);
}

TEST(Base64AndCrc32, DecodeAndCheckAsTheServiceEncodes) {
    EXPECT_EQ(DecodeBase64("TWFu"), "Man");
    EXPECT_EQ(DecodeBase64("TWE="), "Ma");
    EXPECT_EQ(DecodeBase64("TQ=="), "M");
    EXPECT_EQ(DecodeBase64("TWE"), "Ma") << "a final group of three";
    EXPECT_EQ(DecodeBase64("AAEC"), std::string("\0\1\2", 3));
    EXPECT_EQ(DecodeBase64("TWFu*TWFu"), "Man") << "stops at a stranger";
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
}
