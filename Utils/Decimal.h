#pragma once

#include <string_view>

// The number a text starts with, read as atof reads it in the C locale: leading blanks are
// skipped, the decimal separator is a point whatever the user's locale, the reading stops at
// the first character that does not belong to the number, and a text that does not start with
// a number gives 0. Every number the program reads from text goes through here.
double ParseDecimal(std::string_view text);

// As ParseDecimal, with a comma read as the point, as an operator on a comma-decimal desktop
// types numbers and a spreadsheet program writes them: "54,3" is 54.3.
double ParseDecimalOrComma(std::string_view text);
