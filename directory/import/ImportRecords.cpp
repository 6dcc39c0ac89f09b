#include "directory/import/ImportRecords.h"

#include "Utils/Decimal.h"
#include "Utils/Format.h"
#include "Utils/TextConversion.h"

namespace {
constexpr long long kSerialMin = 1;
constexpr long long kSerialMax = 99999999;
constexpr std::size_t kMeterFields = 5;
constexpr std::size_t kLinkFields = 3;
constexpr std::size_t kApartmentFields = 13;

CImportNote Note(const CImportLine& line, ImportReason reason, std::string text) {
    return {line.number, reason, std::move(text), true};
}

std::optional<CImportNote> TooFew(const CImportLine& line, std::size_t count) {
    if (line.fields.size() >= count) return std::nullopt;
    return Note(line, ImportReason::TooFewFields, Format("%zu of %zu", line.fields.size(), count));
}

bool SerialInRange(long long serial) {
    return serial >= kSerialMin && serial <= kSerialMax;
}

// The kind word and the serial that begin meter and link lines.
std::optional<CImportNote> ReadKindAndSerial(const CImportLine& line, MeterKind& kind,
                                             int& serial) {
    const std::optional<MeterKind> named = MeterKindNamed(line.fields[0]);
    if (!named) return Note(line, ImportReason::UnknownKind, line.fields[0]);
    const long long number = LeadingInteger(line.fields[1]);
    if (!SerialInRange(number)) return Note(line, ImportReason::SerialOutOfRange, line.fields[1]);
    kind = *named;
    serial = static_cast<int>(number);
    return std::nullopt;
}
}  // namespace

std::variant<CMeterLine, CImportNote> ReadMeterLine(const CImportLine& line) {
    if (auto note = TooFew(line, kMeterFields)) return *note;
    CMeterLine meter;
    if (auto note = ReadKindAndSerial(line, meter.kind, meter.serial)) return *note;
    meter.dateInstall = Utf8ToCp1251(line.fields[2]);
    meter.dateInitialVerification = Utf8ToCp1251(line.fields[3]);
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
    return link;
}

std::variant<CApartmentLine, CImportNote> ReadApartmentLine(const CImportLine& line) {
    if (auto note = TooFew(line, kApartmentFields)) return *note;
    const std::vector<std::string>& field = line.fields;
    CApartmentLine result;
    result.apartment = std::make_unique<CDataSubscriber>();
    CDataSubscriber& apartment = *result.apartment;
    // The file is UTF-8 throughout, the records Windows-1251; the records cut what is too long.
    apartment.no = Utf8ToCp1251(field[0]);
    apartment.licno = Utf8ToCp1251(field[1]);
    apartment.sname = Utf8ToCp1251(field[2]);
    apartment.name = Utf8ToCp1251(field[3]);
    apartment.fname = Utf8ToCp1251(field[4]);
    apartment.total_floor_area = ParseDecimal(field[5]);
    apartment.heated_floor_area = ParseDecimal(field[6]);
    apartment.num_reg_peopl = static_cast<int>(LeadingInteger(field[7]));
    apartment.type_room = static_cast<std::uint8_t>(LeadingInteger(field[8]));
    apartment.mzk = static_cast<std::uint8_t>(LeadingInteger(field[9]));
    for (int kind = 0; kind < MeterKindCount; ++kind) {
        std::string_view list = field[10 + kind];
        while (!list.empty()) {
            const std::size_t comma = list.find(',');
            const std::string_view item = list.substr(0, comma);
            list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
            if (item.find_first_not_of(" \t") == std::string_view::npos) continue;
            const long long serial = LeadingInteger(item);
            if (SerialInRange(serial)) {
                result.serials[kind].push_back(static_cast<int>(serial));
            } else {
                result.notes.push_back(
                    {line.number, ImportReason::SerialOutOfRange, std::string(item), false});
            }
        }
    }
    return result;
}
