#include "directory/import/ImportEncoding.h"

#include <algorithm>
#include <array>

#include "Utils/TextConversion.h"
#include "directory/import/ImportSource.h"

namespace {
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;
constexpr std::size_t kChunk = 64 * 1024;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
}  // namespace

std::optional<ImportEncoding> DetectImportEncoding(CImportSource& source) {
    std::array<char, kChunk> buffer;
    CUtf8Check check;
    bool first = true;
    std::optional<ImportEncoding> found;
    while (const std::size_t count = source.Read(buffer.data(), buffer.size())) {
        const std::string_view chunk(buffer.data(), count);
        if (first && chunk.starts_with(kUtf16LittleMark)) found = ImportEncoding::Utf16LittleEndian;
        if (first && chunk.starts_with(kUtf16BigMark)) found = ImportEncoding::Utf16BigEndian;
        first = false;
        if (found || !check.Feed(chunk)) break;
    }
    if (source.Failed() || !source.Rewind()) return std::nullopt;
    if (found) return found;
    return check.Finish() ? ImportEncoding::Utf8 : ImportEncoding::Windows1251;
}

void CImportDecoder::Decode(std::string_view bytes, std::string& text) {
    if (!started_ && !bytes.empty()) {
        started_ = true;
        // A UTF-8 mark before Windows-1251 text was still meant as a mark, never as "п»ї".
        const std::string_view mark = encoding_ == ImportEncoding::Utf16LittleEndian
                                          ? kUtf16LittleMark
                                      : encoding_ == ImportEncoding::Utf16BigEndian ? kUtf16BigMark
                                                                                    : kUtf8Mark;
        if (bytes.starts_with(mark)) bytes.remove_prefix(mark.size());
    }
    const std::size_t before = text.size();
    switch (encoding_) {
        case ImportEncoding::Utf8:
            text.append(bytes);
            break;
        case ImportEncoding::Windows1251:
            text += Cp1251ToUtf8(bytes);
            break;
        case ImportEncoding::Utf16LittleEndian:
        case ImportEncoding::Utf16BigEndian:
            DecodeUtf16(bytes, text);
            break;
    }
    // A NUL is never text here, and would end a record's field early: what UTF-16 saved
    // without its mark leaves between the letters.
    text.erase(std::remove(text.begin() + static_cast<std::ptrdiff_t>(before), text.end(), '\0'),
               text.end());
}

void CImportDecoder::DecodeUtf16(std::string_view bytes, std::string& text) {
    const bool little = encoding_ == ImportEncoding::Utf16LittleEndian;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!oddByte_) {
            oddByte_ = byte;
            continue;
        }
        const auto first = static_cast<char16_t>(*oddByte_);
        AppendUnit(little ? static_cast<char16_t>(first | byte << 8)
                          : static_cast<char16_t>(first << 8 | byte),
                   text);
        oddByte_.reset();
    }
}

void CImportDecoder::AppendUnit(char16_t unit, std::string& text) {
    if (highSurrogate_ != 0) {
        if (IsLowSurrogate(unit)) {
            AppendUtf8(text, 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
            highSurrogate_ = 0;
            return;
        }
        AppendUtf8(text, kReplacement);
        highSurrogate_ = 0;
    }
    if (IsHighSurrogate(unit)) {
        highSurrogate_ = unit;
    } else {
        AppendUtf8(text, IsLowSurrogate(unit) ? kReplacement : unit);
    }
}

void CImportDecoder::Finish(std::string& text) {
    if (oddByte_ || highSurrogate_ != 0) AppendUtf8(text, kReplacement);
    oddByte_.reset();
    highSurrogate_ = 0;
}
