#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "Utils/CalendarDate.h"
#include "Utils/Decimal.h"
#include "Utils/Format.h"
#include "support/CommaDecimalLocale.h"

TEST(Numbers, TextsKeepThePointUnderACommaDecimalLocale) {
    const CCommaDecimalLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no comma-decimal locale is installed";
    EXPECT_EQ(Format("%.02f", 3.45), "3.45");
    EXPECT_EQ(Format("'%f'", 54.3), "'54.300000'");
    EXPECT_DOUBLE_EQ(ParseDecimal("21.50"), 21.5);
    EXPECT_DOUBLE_EQ(ParseDecimal("21,50"), 21);
    EXPECT_EQ(std::string(std::localeconv()->decimal_point), ",")
        << "the program's own locale is left as it was";
}

TEST(Numbers, ParseDecimalReadsTheNumberATextStartsWith) {
    EXPECT_DOUBLE_EQ(ParseDecimal("18.05"), 18.05);
    EXPECT_DOUBLE_EQ(ParseDecimal(" \t-3.25 C"), -3.25);
    EXPECT_DOUBLE_EQ(ParseDecimal("+2.5"), 2.5);
    EXPECT_DOUBLE_EQ(ParseDecimal(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ParseDecimal("1e2"), 100);
    // A reply's BCD byte that is no BCD prints as a letter, and the number stops there.
    EXPECT_DOUBLE_EQ(ParseDecimal("2E.50"), 2);
    EXPECT_DOUBLE_EQ(ParseDecimal("A1.50"), 0);
    EXPECT_DOUBLE_EQ(ParseDecimal(""), 0);
    EXPECT_DOUBLE_EQ(ParseDecimal("-"), 0);
    EXPECT_DOUBLE_EQ(ParseDecimal("+-1"), 0);
}

TEST(Numbers, ADecimalCommaIsThePointWhereAnOperatorTypesIt) {
    EXPECT_DOUBLE_EQ(ParseDecimalOrComma("54,3"), 54.3);
    EXPECT_DOUBLE_EQ(ParseDecimalOrComma(" 38.25"), 38.25);
}

TEST(Numbers, DatesAreReadAsStoredOrAsASpreadsheetWritesThemAndMustExist) {
    for (const char* text : {"2024-02-29", "29.02.2024", "29.2.2024"})
        EXPECT_EQ(StoredDateText(ReadCalendarDate(text).value()), "2024-02-29") << text;
    for (const char* text : {"2023-02-29", "31.04.2024", "2024-13-01", "2024-1-05", "0000-01-01",
                             "2024/01/05", "05.01.24", "2024-01-05 ", "15.01.2024 0:00", ""})
        EXPECT_FALSE(ReadCalendarDate(text).has_value()) << text;
}
