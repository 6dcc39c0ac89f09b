#include "database/Statement.h"

std::string QuoteInner(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 2);
    for (const char c : text) {
        if (c == '\'') result += '\'';
        result += c;
    }
    return result;
}

