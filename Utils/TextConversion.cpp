#include "Utils/TextConversion.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace {

// Unicode code points of Windows-1251 bytes 0x80 to 0xBF; 0 marks the unassigned 0x98.
// Bytes 0xC0 to 0xFF are А to я, U+0410 to U+044F.
constexpr std::array<char16_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

char32_t CodePointOf(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kUpperHalf[byte - 0x80];
}

// Ukrainian spelling recommends the modifier-letter apostrophe, which the code page cannot hold;
// it and its look-alikes become the typographic apostrophe the code page has, so a name is never
// stored with "?" in it. Dashes and blanks without a code-page form get the nearest.
char32_t CloseForm(char32_t codePoint) {
    switch (codePoint) {
        case U'\u02BC':  // modifier letter apostrophe
        case U'\u02BB':  // modifier letter turned comma
        case U'\u02B9':  // modifier letter prime
        case U'\u2032':  // prime
            return U'\u2019';
        case U'\u2010':  // hyphen
        case U'\u2011':  // non-breaking hyphen
        case U'\u2012':  // figure dash
        case U'\u2212':  // minus sign
            return U'-';
        case U'\u2007':  // figure space
        case U'\u2009':  // thin space
        case U'\u202F':  // narrow no-break space
            return U'\u00A0';
        default:
            return codePoint;
    }
}

// The code-page byte of a character or of its close form.
std::optional<char> ByteOf(char32_t codePoint) {
    codePoint = CloseForm(codePoint);
    if (codePoint < 0x80) return static_cast<char>(codePoint);
    if (codePoint >= 0x0410 && codePoint <= 0x044F)
        return static_cast<char>(0xC0 + (codePoint - 0x0410));
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        if (kUpperHalf[i] != 0 && kUpperHalf[i] == codePoint) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// Decodes one UTF-8 sequence at `pos`, advancing it; a malformed sequence gives nothing and
// consumes one byte, as the system decoders do.
std::optional<char32_t> NextCodePoint(std::string_view source, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(source[pos++]);
    if (lead < 0x80) return lead;
    int continuation = 0;
    char32_t codePoint = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        continuation = 1, codePoint = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation = 2, codePoint = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation = 3, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + continuation > source.size()) return std::nullopt;
    for (int i = 0; i < continuation; ++i) {
        const auto next = static_cast<unsigned char>(source[pos + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += continuation;
    return codePoint;
}

// The length of the sequence a lead byte begins; 0 for a byte that begins none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

}  // namespace

void AppendUtf8(std::string& target, char32_t codePoint) {
    if (codePoint < 0x80) {
        target += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        target += static_cast<char>(0xC0 | (codePoint >> 6));
        target += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        target += static_cast<char>(0xE0 | (codePoint >> 12));
        target += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        target += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        target += static_cast<char>(0xF0 | (codePoint >> 18));
        target += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        target += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        target += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool IsUtf8(std::string_view source) {
    for (std::size_t pos = 0; pos < source.size();) {
        if (!NextCodePoint(source, pos).has_value()) return false;
    }
    return true;
}

bool CUtf8Check::Feed(std::string_view chunk) {
    if (!valid_) return false;
    if (!carry_.empty()) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(carry_[0]));
        const std::size_t taken = std::min(length - carry_.size(), chunk.size());
        carry_.append(chunk.substr(0, taken));
        chunk.remove_prefix(taken);
        if (carry_.size() < length) return true;
        valid_ = IsUtf8(carry_);
        carry_.clear();
        if (!valid_) return false;
    }
    // A sequence cut by the chunk's end waits for the next chunk.
    std::size_t cut = chunk.size();
    for (std::size_t back = 1; back <= 3 && back <= chunk.size(); ++back) {
        const auto byte = static_cast<unsigned char>(chunk[chunk.size() - back]);
        if ((byte & 0xC0) == 0x80) continue;
        if (SequenceLength(byte) > back) cut = chunk.size() - back;
        break;
    }
    valid_ = IsUtf8(chunk.substr(0, cut));
    carry_ = chunk.substr(cut);
    return valid_;
}

bool CUtf8Check::Finish() {
    if (!carry_.empty()) valid_ = false;
    carry_.clear();
    return valid_;
}

std::string Cp1251ToUtf8(std::string_view source) {
    std::string target;
    target.reserve(source.size() * 2);
    for (const char c : source) {
        const char32_t codePoint = CodePointOf(static_cast<unsigned char>(c));
        if (codePoint != 0 || c == '\0') AppendUtf8(target, codePoint);
    }
    return target;
}

std::string Utf8ToCp1251(std::string_view source) {
    std::string target;
    target.reserve(source.size());
    for (std::size_t pos = 0; pos < source.size();) {
        target += ByteOf(NextCodePoint(source, pos).value_or(0xFFFD)).value_or('?');
    }
    return target;
}

std::string UnstorableCharacters(std::string_view source) {
    std::string found;
    for (std::size_t pos = 0; pos < source.size();) {
        const std::size_t start = pos;
        const std::optional<char32_t> codePoint = NextCodePoint(source, pos);
        if (codePoint.has_value() && ByteOf(*codePoint).has_value()) continue;
        const std::string_view character = source.substr(start, pos - start);
        if (found.find(character) == std::string::npos) found += character;
    }
    return found;
}

std::string Cp1251ToLower(std::string_view source) {
    std::string target(source);
    for (char& c : target) {
        const char32_t codePoint = CodePointOf(static_cast<unsigned char>(c));
        char32_t lower = codePoint;
        if (codePoint >= U'A' && codePoint <= U'Z') lower = codePoint + 0x20;
        if (codePoint >= 0x0410 && codePoint <= 0x042F) lower = codePoint + 0x20;  // А to Я
        if (codePoint >= 0x0400 && codePoint <= 0x040F) lower = codePoint + 0x50;  // Ѐ to Џ
        if (codePoint == 0x0490) lower = 0x0491;                                   // Ґ
        if (lower != codePoint) c = *ByteOf(lower);
    }
    return target;
}

std::string StoredTextToCp1251(std::string_view source) {
    if (!IsUtf8(source)) return std::string(source);
    return Utf8ToCp1251(source);
}
