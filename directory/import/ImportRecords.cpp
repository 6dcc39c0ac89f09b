#include "directory/import/ImportRecords.h"

#include <charconv>

#include "Utils/CalendarDate.h"
#include "Utils/Decimal.h"
#include "Utils/Format.h"
#include "Utils/TextConversion.h"

namespace {
constexpr long long kSerialMin = 1;
constexpr long long kSerialMax = 99999999;
constexpr std::size_t kMeterFields = 5;
constexpr std::size_t kLinkFields = 3;
constexpr std::size_t kApartmentFields = 13;
constexpr std::size_t kBuildingField = 3;

CImportNote Note(const CImportLine& line, ImportReason reason, std::string text) {
    return {line.number, reason, std::move(text), true};
}

std::optional<CImportNote> TooFew(const CImportLine& line, std::size_t count) {
    if (line.fields.size() >= count) return std::nullopt;
    CImportNote note = Note(line, ImportReason::TooFewFields, Format("%zu", line.fields.size()));
    note.expected = count;
    return note;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A serial is digits only: "1e5" or "4000 0007" would be read as another meter's number.
std::optional<int> ReadSerial(std::string_view text) {
    long long serial = 0;
    if (!AllDigits(text)) return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), serial);
    if (error != std::errc() || serial < kSerialMin || serial > kSerialMax) return std::nullopt;
    return static_cast<int>(serial);
}

// The date as it is stored, "yyyy-mm-dd", or the note that skips the line.
std::variant<std::string, CImportNote> ReadDate(const CImportLine& line, std::size_t field) {
    const std::optional<CCalendarDate> date = ReadCalendarDate(line.fields[field]);
    if (!date) return Note(line, ImportReason::BadDate, line.fields[field]);
    return StoredDateText(*date);
}

// The kind word and the serial that begin meter and link lines.
std::optional<CImportNote> ReadKindAndSerial(const CImportLine& line, MeterKind& kind,
                                             int& serial) {
    const std::optional<MeterKind> named = MeterKindNamed(line.fields[0]);
    if (!named) return Note(line, ImportReason::UnknownKind, line.fields[0]);
    const std::optional<int> number = ReadSerial(line.fields[1]);
    if (!number) return Note(line, ImportReason::SerialOutOfRange, line.fields[1]);
    kind = *named;
    serial = *number;
    return std::nullopt;
}
}  // namespace

std::variant<CMeterLine, CImportNote> ReadMeterLine(const CImportLine& line) {
    if (auto note = TooFew(line, kMeterFields)) return *note;
    CMeterLine meter;
    if (auto note = ReadKindAndSerial(line, meter.kind, meter.serial)) return *note;
    for (auto [field, date] :
         {std::pair{2, &meter.dateInstall}, std::pair{3, &meter.dateInitialVerification}}) {
        auto read = ReadDate(line, field);
        if (auto* note = std::get_if<CImportNote>(&read)) return std::move(*note);
        *date = std::get<std::string>(std::move(read));
    }
    if (meter.kind == MeterKindHeat) {
        const long long position = LeadingInteger(line.fields[4]);
        if (position != 0 && position != 1)
            return Note(line, ImportReason::PositionOutOfRange, line.fields[4]);
        meter.position = static_cast<int>(position);
    }
    return meter;
}

std::variant<CLinkLine, CImportNote> ReadLinkLine(const CImportLine& line) {
    if (auto note = TooFew(line, kLinkFields)) return *note;
    CLinkLine link;
    if (auto note = ReadKindAndSerial(line, link.kind, link.serial)) return *note;
    // An empty number would unbind the meter by accident.
    if (line.fields[2].empty()) return Note(line, ImportReason::NoApartmentNumber, {});
    link.apartment = Utf8ToCp1251(line.fields[2]);
    if (line.fields.size() > kBuildingField) link.building = line.fields[kBuildingField];
    return link;
}

std::variant<CApartmentLine, CImportNote> ReadApartmentLine(const CImportLine& line) {
    if (auto note = TooFew(line, kApartmentFields)) return *note;
    const std::vector<std::string>& field = line.fields;
    // An apartment without a number could never be linked or told apart.
    if (field[0].empty()) return Note(line, ImportReason::NoApartmentNumber, {});
    CApartmentLine result;
    result.apartment = std::make_unique<CDataSubscriber>();
    CDataSubscriber& apartment = *result.apartment;
    // The fields are UTF-8, the records Windows-1251; the records cut what is too long.
    apartment.no = Utf8ToCp1251(field[0]);
    apartment.licno = Utf8ToCp1251(field[1]);
    apartment.sname = Utf8ToCp1251(field[2]);
    apartment.name = Utf8ToCp1251(field[3]);
    apartment.fname = Utf8ToCp1251(field[4]);
    apartment.total_floor_area = ParseDecimalOrComma(field[5]);
    apartment.heated_floor_area = ParseDecimalOrComma(field[6]);
    apartment.num_reg_peopl = static_cast<int>(LeadingInteger(field[7]));
    apartment.type_room = static_cast<std::uint8_t>(LeadingInteger(field[8]));
    apartment.mzk = static_cast<std::uint8_t>(LeadingInteger(field[9]));
    for (int kind = 0; kind < MeterKindCount; ++kind) {
        std::string_view list = field[10 + kind];
        while (!list.empty()) {
            const std::size_t comma = list.find(',');
            std::string_view item = list.substr(0, comma);
            list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
            item = TrimBlanks(item);
            if (item.empty()) continue;
            if (const std::optional<int> serial = ReadSerial(item)) {
                result.serials[kind].push_back(*serial);
            } else {
                result.notes.push_back(
                    {line.number, ImportReason::SerialOutOfRange, std::string(item), false});
            }
        }
    }
    return result;
}

bool IsMeterRecord(const CImportLine& line) {
    return std::holds_alternative<CMeterLine>(ReadMeterLine(line));
}

bool IsApartmentRecord(const CImportLine& line) {
    // Almost any 13 fields read as an apartment; a header's counts are words, a record's digits.
    if (!std::holds_alternative<CApartmentLine>(ReadApartmentLine(line))) return false;
    const std::vector<std::string>& field = line.fields;
    return AllDigits(field[7]) && AllDigits(field[8]) && AllDigits(field[9]);
}
