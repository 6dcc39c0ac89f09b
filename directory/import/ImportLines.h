#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "directory/import/ImportEncoding.h"

class CImportSource;

// One line of an import file with at least one field that is not empty.
struct CImportLine {
    int number = 0;                   // counted from 1, the header and empty lines included
    std::vector<std::string> fields;  // UTF-8
};

// The fields of one line, as spreadsheet programs write them: cut at every ";" outside quotes;
// a field that begins with a quote runs to its closing quote, with "" standing for one quote
// and ";" kept (without its closing quote, to the line's end); blanks around a field are
// trimmed.
std::vector<std::string> SplitImportFields(std::string_view line);

// The text without the blanks around it: the C locale's and the no-break space.
std::string_view TrimBlanks(std::string_view text);

// Reads an import file as a stream of lines, holding one line and one chunk of the file at a
// time. CR LF and LF both end a line, also inside quotes; a last line without an end counts;
// empty lines, and lines of empty fields only (a spreadsheet's blank rows), are left out.
class CImportReader {
public:
    // Reads the whole source once first, to tell its encoding.
    explicit CImportReader(std::unique_ptr<CImportSource> source);
    ~CImportReader();
    CImportReader(const CImportReader&) = delete;
    CImportReader& operator=(const CImportReader&) = delete;

    // False at the end, and when the source cannot be read.
    bool Next(CImportLine& line);
    // The source could not be read, at the start or later.
    bool Failed() const;
    ImportEncoding Encoding() const { return encoding_; }

private:
    // Decodes one more chunk onto the text; false once the source has ended.
    bool Fill();

    std::unique_ptr<CImportSource> source_;
    ImportEncoding encoding_ = ImportEncoding::Utf8;
    bool unreadable_ = false;
    CImportDecoder decoder_;
    std::string text_;       // decoded UTF-8 from the current line on
    std::size_t start_ = 0;  // where the current line begins in text_
    bool ended_ = false;
    int number_ = 0;
};

// A field's number as the C library's integer conversion reads it: blanks skipped, an optional
// sign, the leading digits; a field that starts with no number gives 0.
long long LeadingInteger(std::string_view text);
