#include "directory/import/ImportLines.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "directory/import/ImportSource.h"

namespace {
constexpr std::size_t kChunk = 64 * 1024;
// The C locale's blanks, and the no-break space spreadsheet programs leave around numbers.
constexpr std::string_view kBlanks = " \t\v\f\r";
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    for (;;) {
        const std::size_t size = text.size();
        text.remove_prefix(std::min(text.find_first_not_of(kBlanks), text.size()));
        if (text.starts_with(kNoBreakSpace)) text.remove_prefix(kNoBreakSpace.size());
        const std::size_t last = text.find_last_not_of(kBlanks);
        text.remove_suffix(text.size() - (last == std::string_view::npos ? 0 : last + 1));
        if (text.ends_with(kNoBreakSpace)) text.remove_suffix(kNoBreakSpace.size());
        if (text.size() == size) return text;
    }
}

namespace {

// The quoted part of a field that begins at `pos` with its opening quote; `pos` ends past the
// closing quote.
std::string Unquoted(std::string_view line, std::size_t& pos) {
    std::string field;
    ++pos;
    for (;;) {
        const std::size_t quote = line.find('"', pos);
        if (quote == std::string_view::npos) {
            field.append(line.substr(pos));
            pos = line.size();
            return field;
        }
        field.append(line.substr(pos, quote - pos));
        pos = quote + 1;
        if (pos == line.size() || line[pos] != '"') return field;
        field += '"';
        ++pos;
    }
}
}  // namespace

std::vector<std::string> SplitImportFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    for (;;) {
        std::string field;
        const std::size_t begin = std::min(line.find_first_not_of(kBlanks, pos), line.size());
        if (begin < line.size() && line[begin] == '"') {
            pos = begin;
            field = Unquoted(line, pos);
        }
        // What follows a closing quote up to the separator belongs to the field as written.
        const std::size_t end = std::min(line.find(';', pos), line.size());
        field.append(line.substr(pos, end - pos));
        fields.emplace_back(TrimBlanks(field));
        if (end == line.size()) return fields;
        pos = end + 1;
    }
}

CImportReader::CImportReader(std::unique_ptr<CImportSource> source)
    : source_(std::move(source)), decoder_(ImportEncoding::Utf8) {
    const std::optional<ImportEncoding> encoding = DetectImportEncoding(*source_);
    unreadable_ = !encoding.has_value();
    encoding_ = encoding.value_or(ImportEncoding::Utf8);
    decoder_ = CImportDecoder(encoding_);
}

CImportReader::~CImportReader() = default;

bool CImportReader::Failed() const {
    return unreadable_ || source_->Failed();
}

bool CImportReader::Fill() {
    if (ended_) return false;
    text_.erase(0, start_);
    start_ = 0;
    std::array<char, kChunk> buffer;
    const std::size_t count = source_->Read(buffer.data(), buffer.size());
    if (count == 0) {
        ended_ = true;
        decoder_.Finish(text_);
        return true;
    }
    decoder_.Decode(std::string_view(buffer.data(), count), text_);
    return true;
}

bool CImportReader::Next(CImportLine& line) {
    if (unreadable_) return false;
    for (;;) {
        std::size_t from = start_;
        std::size_t end;
        while ((end = text_.find('\n', from)) == std::string::npos) {
            // Fill moves the line to the front: what was searched is not searched again.
            const std::size_t searched = text_.size() - start_;
            if (!Fill()) break;
            from = start_ + searched;
        }
        if (end == std::string::npos && start_ == text_.size()) return false;
        const std::size_t stop = end == std::string::npos ? text_.size() : end;
        std::string_view raw(text_.data() + start_, stop - start_);
        start_ = end == std::string::npos ? text_.size() : end + 1;
        ++number_;
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        std::vector<std::string> fields = SplitImportFields(raw);
        if (std::all_of(fields.begin(), fields.end(),
                        [](const std::string& f) { return f.empty(); }))
            continue;
        line.number = number_;
        line.fields = std::move(fields);
        return true;
    }
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
