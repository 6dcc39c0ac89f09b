#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One non-empty line of an import file, cut at every ";".
struct CImportLine {
    int number = 0;  // counted from 1, the header and empty lines included
    std::vector<std::string> fields;
};

// The lines of a whole file's text. CR LF and LF both end a line, a last line without an end
// counts, empty lines are left out, a byte-order mark at the start is dropped. With `header`
// the first line is not returned.
std::vector<CImportLine> SplitImportLines(std::string_view text, bool header);

// The whole file, bytes as they are; empty when it cannot be opened or read.
std::optional<std::string> ReadImportFile(const std::string& path);

// A field's number as the C library's integer conversion reads it: blanks skipped, an optional
// sign, the leading digits; a field that starts with no number gives 0.
long long LeadingInteger(std::string_view text);
