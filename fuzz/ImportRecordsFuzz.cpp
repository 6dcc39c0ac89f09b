// An import file of any bytes, read as each of the three formats: lines numbered upwards,
// fields cut at every ";" only, and every record's fields within their bounds.
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "directory/import/ImportRecords.h"
#include "fuzz/FuzzCheck.h"

namespace {
constexpr int kSerialMax = 99999999;

bool SerialInRange(int serial) {
    return serial >= 1 && serial <= kSerialMax;
}

bool ValidKind(MeterKind kind) {
    return kind >= MeterKindHeat && kind < MeterKindCount;
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
        FUZZ_CHECK(!line.fields.empty());
        FUZZ_CHECK(line.fields.size() > 1 || !line.fields[0].empty());
        for (const std::string& field : line.fields) {
            FUZZ_CHECK(field.find_first_of(";\n") == std::string::npos);
            CheckInteger(field);
        }
    }
}

// A note belongs to its line; a line short of fields gives that note and no other reason.
void CheckNote(const CImportNote& note, const CImportLine& line, std::size_t fieldCount) {
    FUZZ_CHECK(note.line == line.number && note.skipped);
    FUZZ_CHECK((note.reason == ImportReason::TooFewFields) == (line.fields.size() < fieldCount));
}

void CheckMeter(const CImportLine& line) {
    const auto read = ReadMeterLine(line);
    if (const auto* note = std::get_if<CImportNote>(&read)) return CheckNote(*note, line, 5);
    const CMeterLine& meter = std::get<CMeterLine>(read);
    FUZZ_CHECK(line.fields.size() >= 5 && ValidKind(meter.kind) && SerialInRange(meter.serial));
    FUZZ_CHECK(meter.position == 0 || (meter.kind == MeterKindHeat && meter.position == 1));
}

void CheckLink(const CImportLine& line) {
    const auto read = ReadLinkLine(line);
    if (const auto* note = std::get_if<CImportNote>(&read)) return CheckNote(*note, line, 3);
    const CLinkLine& link = std::get<CLinkLine>(read);
    FUZZ_CHECK(line.fields.size() >= 3 && ValidKind(link.kind) && SerialInRange(link.serial));
    FUZZ_CHECK(!link.apartment.empty());
}

void CheckApartment(const CImportLine& line) {
    const auto read = ReadApartmentLine(line);
    if (const auto* note = std::get_if<CImportNote>(&read)) return CheckNote(*note, line, 13);
    const CApartmentLine& apartment = std::get<CApartmentLine>(read);
    FUZZ_CHECK(line.fields.size() >= 13 && apartment.apartment != nullptr);
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

    // Links have no header line, meters and apartments have one; the header alone differs.
    const std::vector<CImportLine> all = SplitImportLines(text, false);
    const std::vector<CImportLine> body = SplitImportLines(text, true);
    CheckLines(all, lineCount);
    const bool firstKept = !all.empty() && all.front().number == 1;
    FUZZ_CHECK(body.size() + (firstKept ? 1 : 0) == all.size());
    FUZZ_CHECK(body.empty() || body.front().number > 1);

    for (const CImportLine& line : all) CheckLink(line);
    for (const CImportLine& line : body) {
        CheckMeter(line);
        CheckApartment(line);
    }
    return 0;
}
