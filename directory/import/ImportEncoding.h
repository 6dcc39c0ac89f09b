#pragma once

#include <optional>
#include <string>
#include <string_view>

class CImportSource;

// How an import file's bytes are read. A spreadsheet program on a Ukrainian Windows desktop
// saves "CSV" in Windows-1251 and "Unicode text" in UTF-16 with a byte-order mark; newer
// programs and editors save UTF-8, with or without a byte-order mark.
enum class ImportEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1251 };

// A UTF-16 byte-order mark gives UTF-16; otherwise a file that is valid UTF-8 as a whole is
// UTF-8, and any other Windows-1251. Reads the whole source once and rewinds it; nothing when
// it cannot be read.
std::optional<ImportEncoding> DetectImportEncoding(CImportSource& source);

// Turns the file's bytes, chunk by chunk, into UTF-8: a character cut between two chunks is
// completed from the next. A byte-order mark at the start and NUL characters are dropped, and
// what cannot be a character (a lone surrogate, an odd last byte) becomes U+FFFD.
class CImportDecoder {
public:
    explicit CImportDecoder(ImportEncoding encoding) : encoding_(encoding) {}

    void Decode(std::string_view bytes, std::string& text);
    // After the last chunk.
    void Finish(std::string& text);

private:
    void DecodeUtf16(std::string_view bytes, std::string& text);
    void AppendUnit(char16_t unit, std::string& text);

    ImportEncoding encoding_;
    bool started_ = false;
    std::optional<unsigned char> oddByte_;  // UTF-16: the first byte of a unit
    char16_t highSurrogate_ = 0;            // UTF-16: waiting for its low half
};
