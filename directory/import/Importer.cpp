#include "directory/import/Importer.h"

#include "Utils/Format.h"
#include "database/SQLite3Controller.h"

namespace {
constexpr std::size_t kLinkNumberLength = 9;

void Skip(CImportResult& result, CImportNote note) {
    ++result.skipped;
    result.notes.push_back(std::move(note));
}

// The apartments table's number column has integer affinity: "015" is stored as 15 and then
// equals "15". Numbers are compared in that stored form.
std::string StoredNumber(const std::string& no) {
    const std::size_t digits = no.starts_with('+') || no.starts_with('-') ? 1 : 0;
    const bool integral =
        no.size() > digits && no.find_first_not_of("0123456789", digits) == std::string::npos;
    return integral ? Format("%lld", LeadingInteger(no)) : no;
}
}  // namespace

CImportResult CImporter::Run(const std::string& path, bool header,
                             const std::function<bool(const CImportLine&, CImportResult&)>& store) {
    CImportResult result;
    const std::optional<std::string> text = ReadImportFile(path);
    if (!text) {
        result.outcome = ImportOutcome::CannotOpen;
        return result;
    }
    const std::vector<CImportLine> lines = SplitImportLines(*text, header);
    CSQLite3& database = db_.Database;
    if (!database.BeginTransaction()) {
        result.outcome = ImportOutcome::DatabaseFailed;
        return result;
    }
    for (const CImportLine& line : lines) {
        if (!store(line, result)) {
            database.RollbackTransaction();
            return {ImportOutcome::DatabaseFailed, 0, 0, 0, {}};
        }
        if (AfterLine) AfterLine(line.number);
    }
    if (!database.CommitTransaction()) {
        database.RollbackTransaction();
        return {ImportOutcome::DatabaseFailed, 0, 0, 0, {}};
    }
    return result;
}

CImportResult CImporter::ImportMeters(const std::string& path) {
    return Run(path, true, [this](const CImportLine& line, CImportResult& result) {
        return StoreMeter(line, result);
    });
}

bool CImporter::StoreMeter(const CImportLine& line, CImportResult& result) {
    auto read = ReadMeterLine(line);
    if (auto* note = std::get_if<CImportNote>(&read)) {
        Skip(result, *note);
        return true;
    }
    const CMeterLine& meter = std::get<CMeterLine>(read);
    CDeviceBaseModel& model = DeviceModelOf(db_, meter.kind);
    // Checked first, so that a failed insert can only be the database failing.
    if (model.GetDeviceBySerial(static_cast<unsigned>(meter.serial)) != nullptr) {
        Skip(result, {line.number, ImportReason::MeterAlreadyStored, line.fields[1]});
        return true;
    }
    std::unique_ptr<CDevice> device = NewDeviceOf(meter.kind);
    device->serial = meter.serial;
    device->date_install = meter.dateInstall;
    device->date_initial_verification = meter.dateInitialVerification;
    device->calibration_interval = kImportCalibrationMonths;
    if (auto* heat = dynamic_cast<CDeviceHeat*>(device.get())) heat->position = meter.position;
    if (model.InsertDevice(*device) == 0) return false;
    ++result.stored;
    return true;
}

CImportResult CImporter::ImportLinks(const std::string& path) {
    apartments_.clear();
    const auto all = db_.SubscriberModel.GetSubscribers();
    if (all == nullptr) return {ImportOutcome::DatabaseFailed, 0, 0, 0, {}};
    for (const auto& apartment : *all)
        apartments_[StoredNumber(std::string(apartment->no.view()))].push_back(apartment->aid);
    return Run(path, false, [this](const CImportLine& line, CImportResult& result) {
        return StoreLink(line, result);
    });
}

bool CImporter::StoreLink(const CImportLine& line, CImportResult& result) {
    auto read = ReadLinkLine(line);
    if (auto* note = std::get_if<CImportNote>(&read)) {
        Skip(result, *note);
        return true;
    }
    const CLinkLine& link = std::get<CLinkLine>(read);
    CDeviceBaseModel& model = DeviceModelOf(db_, link.kind);
    const auto meter = model.GetDeviceBySerial(static_cast<unsigned>(link.serial));
    if (meter == nullptr) {
        Skip(result, {line.number, ImportReason::MeterNotFound, line.fields[1]});
        return true;
    }
    // The link file's number field is read up to 9 characters.
    const auto found = apartments_.find(StoredNumber(link.apartment.substr(0, kLinkNumberLength)));
    int aid = 0;
    if (found != apartments_.end()) {
        // The file names no building: binding to one of several would be a guess.
        if (found->second.size() > 1) {
            Skip(result, {line.number, ImportReason::ApartmentAmbiguous, line.fields[2]});
            return true;
        }
        aid = found->second.front();
    }
    if (!model.BindDevice(meter->devid, aid)) return false;
    ++(aid != 0 ? result.stored : result.unbound);
    return true;
}

CImportResult CImporter::ImportApartments(const std::string& path, int bid) {
    const auto building = db_.ObjectModel.GetObjectById(bid);
    if (building == nullptr) return {ImportOutcome::DatabaseFailed, 0, 0, 0, {}};
    if (building->bid == 0) return {ImportOutcome::NoBuilding, 0, 0, 0, {}};
    apartments_.clear();
    const auto stored = db_.SubscriberModel.GetSubscribersByObject(bid);
    if (stored == nullptr) return {ImportOutcome::DatabaseFailed, 0, 0, 0, {}};
    for (const auto& apartment : *stored)
        apartments_[StoredNumber(std::string(apartment->no.view()))].push_back(apartment->aid);
    return Run(path, true, [this, bid](const CImportLine& line, CImportResult& result) {
        return StoreApartment(line, bid, result);
    });
}

bool CImporter::StoreApartment(const CImportLine& line, int bid, CImportResult& result) {
    auto read = ReadApartmentLine(line);
    if (auto* note = std::get_if<CImportNote>(&read)) {
        Skip(result, *note);
        return true;
    }
    CApartmentLine& apartment = std::get<CApartmentLine>(read);
    apartment.apartment->bid = bid;
    const std::string key = StoredNumber(std::string(apartment.apartment->no.view()));
    if (apartments_.contains(key)) {
        Skip(result, {line.number, ImportReason::ApartmentNumberTaken, line.fields[0]});
        return true;
    }
    const int aid = db_.SubscriberModel.InsertSubscriber(*apartment.apartment);
    if (aid == 0) return false;
    apartments_[key].push_back(aid);
    ++result.stored;
    for (CImportNote& note : apartment.notes) result.notes.push_back(std::move(note));
    return BindListed(apartment, line.number, aid, result);
}

bool CImporter::BindListed(const CApartmentLine& line, int lineNumber, int aid,
                           CImportResult& result) {
    for (int kind = 0; kind < MeterKindCount; ++kind) {
        CDeviceBaseModel& model = DeviceModelOf(db_, kind);
        for (int serial : line.serials[kind]) {
            const auto meter = model.GetDeviceBySerial(static_cast<unsigned>(serial));
            if (meter == nullptr) {
                result.notes.push_back(
                    {lineNumber, ImportReason::MeterNotFound, Format("%d", serial), false});
                continue;
            }
            if (!model.BindDevice(meter->devid, aid)) return false;
        }
    }
    return true;
}
