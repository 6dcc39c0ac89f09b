#include "archive/ExportPlace.h"

#include "Utils/Format.h"

namespace {
// Leaves room for " (n)" and the extension within a file system's 255-byte names.
constexpr std::size_t kLongestStem = 200;

bool Forbidden(unsigned char c) {
    return c < 0x20 || c == 0x7F ||
           std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

// Cut at a character boundary of the UTF-8 text.
std::string Cut(std::string text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}
}  // namespace

std::string ReportFileName(std::string_view title, std::string_view building,
                           std::string_view firstDay, std::string_view lastDay) {
    std::string stem;
    for (const std::string_view part : {title, building, firstDay, lastDay}) {
        if (part.empty()) continue;
        if (!stem.empty()) stem += " - ";
        for (const char c : part) stem += Forbidden(static_cast<unsigned char>(c)) ? '_' : c;
    }
    if (stem.empty() || stem.front() == '.') stem.insert(0, "_");
    return Cut(stem, kLongestStem) + ".xlsx";
}

std::string NumberedFileName(std::string_view name, int n) {
    const std::size_t dot = name.rfind('.');
    const std::size_t at = dot == std::string_view::npos ? name.size() : dot;
    return std::string(name.substr(0, at)) + Format(" (%i)", n) + std::string(name.substr(at));
}
