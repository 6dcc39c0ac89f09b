// The code-page conversions between the records' Windows-1251 and the database's UTF-8, on any
// bytes read either way.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Utils/TextConversion.h"
#include "fuzz/FuzzCheck.h"

namespace {
// Strict UTF-8, written apart from the converter: shortest forms only, no surrogates, nothing
// past U+10FFFF.
bool ValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (lead < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t length = lead < 0xC2   ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF5 ? 4
                                                 : 0;
        if (length == 0) return false;
        char32_t point = lead & (0x7F >> length);
        if (pos + length > text.size()) return false;
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[pos + i]);
            if ((next & 0xC0) != 0x80) return false;
            point = point << 6 | (next & 0x3F);
        }
        if ((length == 3 && point < 0x800) || (length == 4 && point < 0x10000) ||
            point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        pos += length;
    }
    return true;
}

std::string WithoutUnassigned(std::string_view cp1251) {
    std::string kept(cp1251);
    kept.erase(std::remove(kept.begin(), kept.end(), '\x98'), kept.end());
    return kept;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The input as a record's text.
    const std::string utf8 = Cp1251ToUtf8(input);
    FUZZ_CHECK(ValidUtf8(utf8));
    FUZZ_CHECK(Utf8ToCp1251(utf8) == WithoutUnassigned(input));
    FUZZ_CHECK(StoredTextToCp1251(utf8) == WithoutUnassigned(input));

    // The input as a text read from a file or the database.
    const std::string cp1251 = Utf8ToCp1251(input);
    FUZZ_CHECK(cp1251.size() <= input.size());
    FUZZ_CHECK(cp1251.find('\x98') == std::string::npos);
    if (!ValidUtf8(input)) {
        FUZZ_CHECK(StoredTextToCp1251(input) == input);
        return 0;
    }
    FUZZ_CHECK(StoredTextToCp1251(input) == cp1251);
    // Each character becomes one byte: itself, its close form, or "?" when the code page has
    // neither, which is what UnstorableCharacters names. Converted back, it stays as it is.
    const auto characters = std::count_if(input.begin(), input.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    FUZZ_CHECK(static_cast<std::ptrdiff_t>(cp1251.size()) == characters);
    const bool questioned = std::count(cp1251.begin(), cp1251.end(), '?') !=
                            std::count(input.begin(), input.end(), '?');
    FUZZ_CHECK(questioned == !UnstorableCharacters(input).empty());
    FUZZ_CHECK(Utf8ToCp1251(Cp1251ToUtf8(cp1251)) == cp1251);
    return 0;
}
