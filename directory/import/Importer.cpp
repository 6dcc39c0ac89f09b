#include "directory/import/Importer.h"

#include <charconv>

#include "Utils/Format.h"
#include "Utils/TextConversion.h"
#include "database/SQLite3Controller.h"
#include "database/WriteCheck.h"
#include "directory/import/ImportSource.h"

namespace {
constexpr std::size_t kLinkNumberLength = 9;

CImportResult Failed(ImportOutcome outcome) {
    CImportResult result;
    result.outcome = outcome;
    return result;
}

CImportResult FailedDatabase(std::string reason) {
    CImportResult result = Failed(ImportOutcome::DatabaseFailed);
    result.databaseReason = std::move(reason);
    return result;
}

// What each import writes: the meter tables (and the ids AUTOINCREMENT keeps), and the
// apartments.
const std::vector<const char*> kMeterTables = {"devices_heat", "devices_water_cold",
                                               "devices_water_hot", "sqlite_sequence"};
const std::vector<const char*> kLinkTables = {"devices_heat", "devices_water_cold",
                                              "devices_water_hot"};
const std::vector<const char*> kApartmentTables = {"app", "devices_heat", "devices_water_cold",
                                                   "devices_water_hot", "sqlite_sequence"};

bool Refused(const CExecuteResult& outcome) {
    return outcome.code == SQLITE_CONSTRAINT_UNIQUE;
}

// The apartments table's number column has integer affinity: a text that reads as a number is
// stored as that number ("015" as 15, "3.0" as 3) and then equals every other spelling of it.
// Numbers are compared in that stored form.
std::string StoredNumber(std::string_view no) {
    if (no.empty() || no.find_first_not_of("0123456789+-.eE") != std::string_view::npos)
        return std::string(no);
    std::string_view digits = no;
    // from_chars takes a minus but not a plus.
    if (digits.starts_with('+') && digits.size() > 1 && digits[1] != '-') digits.remove_prefix(1);
    const char* end = digits.data() + digits.size();
    long long integer = 0;
    if (std::from_chars(digits.data(), end, integer).ptr == end) return Format("%lld", integer);
    double real = 0;
    if (std::from_chars(digits.data(), end, real).ptr != end) return std::string(no);
    constexpr double kIntegerLimit = 9.2e18;
    if (real == static_cast<double>(static_cast<long long>(real)) && real > -kIntegerLimit &&
        real < kIntegerLimit)
        return Format("%lld", static_cast<long long>(real));
    return Format("%.15g", real);
}

// An address as the lists show it ("вул. Шевченка 12а"), case and repeated blanks aside.
std::string AddressKey(std::string_view cp1251) {
    std::string key;
    for (const char c : Cp1251ToLower(cp1251)) {
        const bool blank = c == ' ' || c == '\t' || c == '\xA0';
        if (!blank) {
            key += c;
        } else if (!key.empty() && key.back() != ' ') {
            key += ' ';
        }
    }
    if (key.ends_with(' ')) key.pop_back();
    return key;
}
}  // namespace

bool CImporter::DatabaseFailed(std::string reason) {
    databaseReason_ = std::move(reason);
    return false;
}

CImportResult CImporter::Run(const std::string& path, const std::vector<const char*>& tables,
                             const std::function<bool(const CImportLine&)>& isRecord,
                             const TStore& store) {
    std::unique_ptr<CImportSource> source = OpenImportFile(path);
    if (source == nullptr) return Failed(ImportOutcome::CannotOpen);
    CImportReader reader(std::move(source));
    if (reader.Failed()) return Failed(ImportOutcome::CannotOpen);
    CSQLite3& database = db_.Database;
    if (auto refusal = CheckBeforeWriting(database, tables)) {
        CImportResult refused = Failed(ImportOutcome::Refused);
        refused.refusal = std::move(*refusal);
        return refused;
    }
    CExecuteResult outcome;
    if (!database.BeginTransaction(&outcome)) return FailedDatabase(outcome.error);
    CImportResult result;
    int records = 0;
    for (CImportLine line; reader.Next(line);) {
        if (isRecord && line.number == 1) {
            if (isRecord(line)) result.Skip({line.number, ImportReason::HeaderIsRecord, {}});
            continue;
        }
        ++records;
        if (!store(line, result)) {
            database.RollbackTransaction();
            return FailedDatabase(std::move(databaseReason_));
        }
        if (AfterLine) AfterLine(line.number);
    }
    const bool unread = reader.Failed();
    if (unread || records == 0) {
        database.RollbackTransaction();
        if (unread) return Failed(ImportOutcome::CannotOpen);
        // The remark on a header that reads as a record says why nothing was found.
        result.outcome = ImportOutcome::NoRecords;
        return result;
    }
    if (!database.CommitTransaction(&outcome)) {
        database.RollbackTransaction();
        return FailedDatabase(outcome.error);
    }
    return result;
}

CImportResult CImporter::ImportMeters(const std::string& path) {
    return Run(path, kMeterTables, IsMeterRecord,
               [this](const CImportLine& line, CImportResult& result) {
                   return StoreMeter(line, result);
               });
}

bool CImporter::StoreMeter(const CImportLine& line, CImportResult& result) {
    auto read = ReadMeterLine(line);
    if (auto* note = std::get_if<CImportNote>(&read)) {
        result.Skip(std::move(*note));
        return true;
    }
    const CMeterLine& meter = std::get<CMeterLine>(read);
    std::unique_ptr<CDevice> device = NewDeviceOf(meter.kind);
    device->serial = meter.serial;
    device->date_install = meter.dateInstall;
    device->date_initial_verification = meter.dateInitialVerification;
    device->calibration_interval = kImportCalibrationMonths;
    if (auto* heat = dynamic_cast<CDeviceHeat*>(device.get())) heat->position = meter.position;
    CExecuteResult outcome;
    if (DeviceModelOf(db_, meter.kind).InsertDevice(*device, &outcome) == 0) {
        // The serial's UNIQUE constraint refuses only this line; anything else is the database.
        if (!Refused(outcome)) return DatabaseFailed(outcome.error);
        result.Skip({line.number, ImportReason::MeterAlreadyStored, line.fields[1]});
        return true;
    }
    ++result.stored;
    return true;
}

CImportResult CImporter::ImportLinks(const std::string& path) {
    apartments_.clear();
    buildings_.clear();
    CReadFailure unread;
    const auto buildings = db_.ObjectModel.GetObjects(&unread);
    const auto all = buildings ? db_.SubscriberModel.GetSubscribers(&unread) : nullptr;
    if (all == nullptr) return FailedDatabase(unread.reason);
    for (const auto& building : *buildings) {
        const std::string address =
            std::string(building->street.view()) + " " + std::string(building->no.view());
        buildings_.emplace_back(building->bid, AddressKey(address));
    }
    for (const auto& apartment : *all) {
        apartments_[StoredNumber(apartment->no.view())].push_back({apartment->bid, apartment->aid});
    }
    return Run(path, kLinkTables, nullptr, [this](const CImportLine& line, CImportResult& result) {
        return StoreLink(line, result);
    });
}

int CImporter::NamedBuilding(const std::string& field) const {
    if (field.empty()) return -1;
    const bool id = field.find_first_not_of("0123456789") == std::string::npos;
    const std::string key = AddressKey(Utf8ToCp1251(field));
    for (const auto& [bid, address] : buildings_) {
        if (id ? Format("%d", bid) == StoredNumber(field) : address == key) return bid;
    }
    return 0;
}

bool CImporter::StoreLink(const CImportLine& line, CImportResult& result) {
    auto read = ReadLinkLine(line);
    if (auto* note = std::get_if<CImportNote>(&read)) {
        result.Skip(std::move(*note));
        return true;
    }
    const CLinkLine& link = std::get<CLinkLine>(read);
    CDeviceBaseModel& model = DeviceModelOf(db_, link.kind);
    CReadFailure unread;
    const auto meter = model.GetDeviceBySerial(static_cast<unsigned>(link.serial), &unread);
    if (unread.Happened()) return DatabaseFailed(unread.reason);
    if (meter == nullptr) {
        result.Skip({line.number, ImportReason::MeterNotFound, line.fields[1]});
        return true;
    }
    const int bid = NamedBuilding(link.building);
    if (bid == 0) {
        result.Skip({line.number, ImportReason::NoBuilding, link.building});
        return true;
    }
    // The link file's number field is read up to 9 characters.
    std::vector<CStoredApartment> found;
    const auto numbered =
        apartments_.find(StoredNumber(link.apartment.substr(0, kLinkNumberLength)));
    if (numbered != apartments_.end()) {
        for (const CStoredApartment& apartment : numbered->second)
            if (bid < 0 || apartment.bid == bid) found.push_back(apartment);
    }
    // Without a building named, binding to one of several would be a guess.
    if (found.size() > 1) {
        result.Skip({line.number, ImportReason::ApartmentAmbiguous, line.fields[2]});
        return true;
    }
    const int aid = found.empty() ? 0 : found.front().aid;
    CExecuteResult outcome;
    if (!model.BindDevice(meter->devid, aid, &outcome)) return DatabaseFailed(outcome.error);
    if (aid != 0) {
        ++result.stored;
    } else {
        ++result.unbound;
        result.Note({line.number, ImportReason::ApartmentMissing, line.fields[2], false});
    }
    return true;
}

CImportResult CImporter::ImportApartments(const std::string& path, int bid) {
    CReadFailure unread;
    const auto building = db_.ObjectModel.GetObjectById(bid, &unread);
    if (building == nullptr) return FailedDatabase(unread.reason);
    if (building->bid == 0) return Failed(ImportOutcome::NoBuilding);
    return Run(path, kApartmentTables, IsApartmentRecord,
               [this, bid](const CImportLine& line, CImportResult& result) {
                   return StoreApartment(line, bid, result);
               });
}

bool CImporter::StoreApartment(const CImportLine& line, int bid, CImportResult& result) {
    auto read = ReadApartmentLine(line);
    if (auto* note = std::get_if<CImportNote>(&read)) {
        result.Skip(std::move(*note));
        return true;
    }
    CApartmentLine& apartment = std::get<CApartmentLine>(read);
    apartment.apartment->bid = bid;
    CExecuteResult outcome;
    const int aid = db_.SubscriberModel.InsertSubscriber(*apartment.apartment, &outcome);
    if (aid == 0) {
        // The building's UNIQUE number refuses this line only, however the number is spelt.
        if (!Refused(outcome)) return DatabaseFailed(outcome.error);
        result.Skip({line.number, ImportReason::ApartmentNumberTaken, line.fields[0]});
        return true;
    }
    ++result.stored;
    for (CImportNote& note : apartment.notes) result.Note(std::move(note));
    return BindListed(apartment, line.number, aid, result);
}

bool CImporter::BindListed(const CApartmentLine& line, int lineNumber, int aid,
                           CImportResult& result) {
    for (int kind = 0; kind < MeterKindCount; ++kind) {
        CDeviceBaseModel& model = DeviceModelOf(db_, kind);
        for (int serial : line.serials[kind]) {
            CReadFailure unread;
            const auto meter = model.GetDeviceBySerial(static_cast<unsigned>(serial), &unread);
            if (unread.Happened()) return DatabaseFailed(unread.reason);
            if (meter == nullptr) {
                result.Note({lineNumber, ImportReason::MeterNotFound, Format("%d", serial), false});
                continue;
            }
            CExecuteResult outcome;
            if (!model.BindDevice(meter->devid, aid, &outcome))
                return DatabaseFailed(outcome.error);
        }
    }
    return true;
}
