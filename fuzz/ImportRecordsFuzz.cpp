// An import file of any bytes, read as each of the three formats: lines numbered upwards, fields
// valid UTF-8 and trimmed, quoting undone exactly, the same lines whichever encoding the same
// text was saved in, and every record's fields within their bounds.
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "Utils/CalendarDate.h"
#include "Utils/TextConversion.h"
#include "directory/import/ImportRecords.h"
#include "directory/import/ImportSource.h"
#include "fuzz/FuzzCheck.h"

namespace {
constexpr int kSerialMax = 99999999;
constexpr std::string_view kBlanks = " \t\v\f\r";

bool SerialInRange(int serial) {
    return serial >= 1 && serial <= kSerialMax;
}

bool ValidKind(MeterKind kind) {
    return kind >= MeterKindHeat && kind < MeterKindCount;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::vector<CImportLine> ReadAll(std::string_view bytes) {
    CImportReader reader(ImportBytes(bytes));
    std::vector<CImportLine> lines;
    for (CImportLine line; reader.Next(line);) lines.push_back(line);
    FUZZ_CHECK(!reader.Failed());
    return lines;
}

bool SameLines(const std::vector<CImportLine>& a, const std::vector<CImportLine>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.number == y.number && x.fields == y.fields;
    });
}

// The text as a spreadsheet program writes it with every field quoted.
std::string Quoted(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += i == 0 ? "\"" : ";\"";
        for (const char c : fields[i]) line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line;
}

// UTF-16 little-endian with its byte-order mark, as "Unicode text" is saved.
std::string Utf16Of(std::string_view utf8) {
    std::string bytes = "\xFF\xFE";
    const auto unit = [&bytes](char32_t u) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    };
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) point = point << 6 | (utf8[pos + i] & 0x3F);
        pos += length;
        if (point < 0x10000) {
            unit(point);
        } else {
            unit(0xD800 + ((point - 0x10000) >> 10));
            unit(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    return bytes;
}

// A field's number as the C library reads it; beyond the range of long long, any number out of
// every range checked, of the same sign.
void CheckInteger(const std::string& field) {
    const long long read = LeadingInteger(field);
    errno = 0;
    const long long expected = std::strtoll(field.c_str(), nullptr, 10);
    if (errno != ERANGE) return FUZZ_CHECK(read == expected);
    FUZZ_CHECK(expected < 0 ? read < 1 : read > kSerialMax);
}

void CheckLines(const std::vector<CImportLine>& lines, int lineCount) {
    int previous = 0;
    for (const CImportLine& line : lines) {
        FUZZ_CHECK(line.number > previous && line.number <= lineCount);
        previous = line.number;
        FUZZ_CHECK(std::any_of(line.fields.begin(), line.fields.end(),
                               [](const std::string& field) { return !field.empty(); }));
        for (const std::string& field : line.fields) {
            FUZZ_CHECK(IsUtf8(field) &&
                       field.find_first_of(std::string_view("\n\0", 2)) == std::string::npos);
            FUZZ_CHECK(field.empty() || (kBlanks.find(field.front()) == std::string_view::npos &&
                                         kBlanks.find(field.back()) == std::string_view::npos));
            CheckInteger(field);
        }
        FUZZ_CHECK(SplitImportFields(Quoted(line.fields)) == line.fields);
    }
}

// A note belongs to its line; a line short of fields gives that note and no other reason.
void CheckNote(const CImportNote& note, const CImportLine& line, std::size_t fieldCount) {
    FUZZ_CHECK(note.line == line.number && note.skipped);
    FUZZ_CHECK((note.reason == ImportReason::TooFewFields) == (line.fields.size() < fieldCount));
}

bool StoredDate(const std::string& date) {
    const auto read = ReadCalendarDate(date);
    return read && StoredDateText(*read) == date;
}

void CheckMeter(const CImportLine& line) {
    const auto read = ReadMeterLine(line);
    if (const auto* note = std::get_if<CImportNote>(&read)) return CheckNote(*note, line, 5);
    const CMeterLine& meter = std::get<CMeterLine>(read);
    FUZZ_CHECK(line.fields.size() >= 5 && ValidKind(meter.kind) && SerialInRange(meter.serial));
    FUZZ_CHECK(AllDigits(line.fields[1]));
    FUZZ_CHECK(StoredDate(meter.dateInstall) && StoredDate(meter.dateInitialVerification));
    FUZZ_CHECK(meter.position == 0 || (meter.kind == MeterKindHeat && meter.position == 1));
}

void CheckLink(const CImportLine& line) {
    const auto read = ReadLinkLine(line);
    if (const auto* note = std::get_if<CImportNote>(&read)) return CheckNote(*note, line, 3);
    const CLinkLine& link = std::get<CLinkLine>(read);
    FUZZ_CHECK(line.fields.size() >= 3 && ValidKind(link.kind) && SerialInRange(link.serial));
    FUZZ_CHECK(AllDigits(line.fields[1]) && !link.apartment.empty());
    FUZZ_CHECK(link.building == (line.fields.size() > 3 ? line.fields[3] : std::string()));
}

void CheckApartment(const CImportLine& line) {
    const auto read = ReadApartmentLine(line);
    if (const auto* note = std::get_if<CImportNote>(&read)) return CheckNote(*note, line, 13);
    const CApartmentLine& apartment = std::get<CApartmentLine>(read);
    FUZZ_CHECK(line.fields.size() >= 13 && apartment.apartment != nullptr);
    FUZZ_CHECK(!apartment.apartment->no.empty());
    for (const std::vector<int>& serials : apartment.serials)
        FUZZ_CHECK(std::all_of(serials.begin(), serials.end(), SerialInRange));
    for (const CImportNote& note : apartment.notes) {
        FUZZ_CHECK(note.line == line.number && !note.skipped);
        FUZZ_CHECK(note.reason == ImportReason::SerialOutOfRange);
        FUZZ_CHECK(note.text.find(',') == std::string::npos);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lineCount = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;

    const std::vector<CImportLine> lines = ReadAll(text);
    CheckLines(lines, lineCount);
    // The same text saved as "Unicode text", and saved as Windows-1251 when it has the letters.
    if (IsUtf8(text)) {
        std::string_view unmarked = text;
        if (unmarked.starts_with("\xEF\xBB\xBF")) unmarked.remove_prefix(3);
        FUZZ_CHECK(SameLines(ReadAll(Utf16Of(unmarked)), lines));
        const std::string cp1251 = Utf8ToCp1251(text);
        // "п»ї" at the start of a Windows-1251 file is taken for a UTF-8 mark, and dropped.
        const bool marked = cp1251.starts_with("\xEF\xBB\xBF");
        if (Cp1251ToUtf8(cp1251) == text && !IsUtf8(cp1251) && !marked)
            FUZZ_CHECK(SameLines(ReadAll(cp1251), lines));
    }

    // Links have no header line, meters and apartments have one: the importer passes over it.
    for (const CImportLine& line : lines) {
        CheckLink(line);
        CheckMeter(line);
        CheckApartment(line);
    }
    return 0;
}
