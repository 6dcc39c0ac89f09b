#include "Utils/TextConversion.h"

#include <gtest/gtest.h>

#include "Utils/FixedText.h"

TEST(TextConversion, EveryWindows1251ByteRoundTripsButTheUnassignedOne) {
    for (int byte = 1; byte < 256; ++byte) {
        const std::string original(1, static_cast<char>(byte));
        const std::string utf8 = Cp1251ToUtf8(original);
        if (byte == 0x98) {
            EXPECT_EQ(utf8, "");
            continue;
        }
        EXPECT_EQ(utf8.size() == 1, byte < 0x80) << "byte " << byte;
        EXPECT_EQ(Utf8ToCp1251(utf8), original) << "byte " << byte;
    }
}

TEST(TextConversion, UkrainianLettersMapToTheirUnicodeCharacters) {
    // "Їжак ґава є і" in Windows-1251.
    const std::string cp1251 = "\xAF\xE6\xE0\xEA \xB4\xE0\xE2\xE0 \xBA \xB3";
    EXPECT_EQ(Cp1251ToUtf8(cp1251), "Їжак ґава є і");
    EXPECT_EQ(Utf8ToCp1251("Мар'яна №5 — €"), "\xCC\xE0\xF0'\xFF\xED\xE0 \xB9" "5 \x97 \x88");
}

TEST(TextConversion, CharactersWithoutAWindows1251FormBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a中b😀c"), "a?b?c");
    EXPECT_EQ(Utf8ToCp1251("x\xFFy\xC3"), "x?y?");
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");  // over-long form of '/'
}

TEST(TextConversion, CharactersWithACloseFormBecomeItOnEveryConversion) {
    // What a Ukrainian keyboard types, stored by another program or read from a file.
    EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251("Пʼятничко")), "П’ятничко");
    EXPECT_EQ(Cp1251ToUtf8(StoredTextToCp1251("Дʻяк ‐ 5 − 2")), "Д’як - 5 - 2");
    EXPECT_EQ(UnstorableCharacters("Пʼятничко"), "");
    EXPECT_EQ(UnstorableCharacters("Łódź é Łx"), "Łóźé");
}

TEST(TextConversion, LowerCaseAndChunkedUtf8Checks) {
    EXPECT_EQ(Cp1251ToUtf8(Cp1251ToLower(Utf8ToCp1251("ПРОСП. ҐЄЇІЁ Ў 12А"))), "просп. ґєїіё ў 12а");
    const std::string text = "Шевченка 😀";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        CUtf8Check check;
        EXPECT_TRUE(check.Feed(text.substr(0, cut)) && check.Feed(text.substr(cut)) &&
                    check.Finish())
            << cut;
    }
    CUtf8Check cutShort;
    EXPECT_TRUE(cutShort.Feed("ab\xD0"));
    EXPECT_FALSE(cutShort.Finish());
    CUtf8Check windows1251;
    EXPECT_FALSE(windows1251.Feed("12\xE0;") && windows1251.Finish());
}

TEST(TextConversion, AStoredTextThatIsNotUtf8IsTakenAsWindows1251AsItIs) {
    EXPECT_EQ(StoredTextToCp1251("12а"), "12\xE0");
    EXPECT_EQ(StoredTextToCp1251("a中b"), "a?b") << "UTF-8 without a Windows-1251 form";
    // What earlier versions wrote unconverted: "12а" and "Коваль" in Windows-1251.
    EXPECT_EQ(StoredTextToCp1251("12\xE0"), "12\xE0");
    EXPECT_EQ(StoredTextToCp1251("\xCA\xEE\xE2\xE0\xEB\xFC"), "\xCA\xEE\xE2\xE0\xEB\xFC");
}

TEST(FixedText, CutsWhatDoesNotFit) {
    CFixedText<5> text("abcdefgh");
    EXPECT_EQ(text, "abcd");
    text.Set("xyz", 2);
    EXPECT_EQ(text, "xy");
    text = "";
    EXPECT_TRUE(text.empty());
}
