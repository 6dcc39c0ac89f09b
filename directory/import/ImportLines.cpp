#include "directory/import/ImportLines.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::vector<std::string> SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end; (end = line.find(';', start)) != std::string_view::npos; start = end + 1)
        fields.emplace_back(line.substr(start, end - start));
    fields.emplace_back(line.substr(start));
    return fields;
}
}  // namespace

std::vector<CImportLine> SplitImportLines(std::string_view text, bool header) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    std::vector<CImportLine> lines;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        ++number;
        if ((header && number == 1) || line.empty()) continue;
        lines.push_back({number, SplitFields(line)});
    }
    return lines;
}

std::optional<std::string> ReadImportFile(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               std::fclose);
    if (file == nullptr) return std::nullopt;
    std::string text;
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, count);
    // A folder opens but cannot be read.
    if (std::ferror(file.get())) return std::nullopt;
    return text;
}

long long LeadingInteger(std::string_view text) {
    // The C locale's blanks, as the C conversion skips them.
    text.remove_prefix(std::min(text.find_first_not_of(" \t\n\v\f\r"), text.size()));
    // from_chars takes a minus but not a plus, and would read "+-5" as -5.
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return 0;
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Too many digits for any serial or count: out of every range the fields are checked against.
    if (error == std::errc::result_out_of_range) return text.starts_with('-') ? -1 : 1LL << 62;
    return error == std::errc() ? value : 0;
}
