#include <gtest/gtest.h>

#include <clocale>
#include <string>

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
