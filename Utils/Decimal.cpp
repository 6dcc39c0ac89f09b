#include "Utils/Decimal.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace {

// The blanks of the C locale.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

double ParseDecimal(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    // from_chars takes a leading minus but not a plus.
    if (start + 1 < text.size() && text[start] == '+' && text[start + 1] != '-') ++start;
    double value = 0;
    std::from_chars(text.data() + start, text.data() + text.size(), value);
    return value;
}

double ParseDecimalOrComma(std::string_view text) {
    std::string pointed(text);
    std::replace(pointed.begin(), pointed.end(), ',', '.');
    return ParseDecimal(pointed);
}
