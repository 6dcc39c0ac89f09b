#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "directory/import/ImportRecords.h"
#include "directory/import/ImportResult.h"

class CSQLite3Controller;

// Stores the records of an import file, the whole file in one transaction: a line that cannot
// be stored is skipped with its reason and the rest stored; a failure of the database itself
// rolls the whole file back. The file is read as a stream, so memory does not grow with it.
// The screens and `vevo import` both run these.
class CImporter {
public:
    explicit CImporter(CSQLite3Controller& db) : db_(db) {}

    CImportResult ImportMeters(const std::string& path);
    CImportResult ImportLinks(const std::string& path);
    // Every apartment of the file goes to building `bid`, which must exist.
    CImportResult ImportApartments(const std::string& path, int bid);

    // Called after each line is done, inside the transaction, with the line's number: for
    // progress, and for tests that end the program half-way.
    std::function<void(int line)> AfterLine;

private:
    using TStore = std::function<bool(const CImportLine&, CImportResult&)>;
    // Reads the file and runs `store` on each record inside one transaction; `store` returns
    // false when the database failed, saying why with DatabaseFailed. With `isRecord` the first
    // line is the header, and a header that `isRecord` takes for a record is remarked on.
    // Nothing is begun unless local.db takes a write and `tables`, the ones the import writes,
    // are sound.
    CImportResult Run(const std::string& path, const std::vector<const char*>& tables,
                      const std::function<bool(const CImportLine&)>& isRecord, const TStore& store);
    // Keeps SQLite's reason for the import's outcome; false, for `store` to return.
    bool DatabaseFailed(std::string reason);
    bool StoreMeter(const CImportLine& line, CImportResult& result);
    bool StoreLink(const CImportLine& line, CImportResult& result);
    bool StoreApartment(const CImportLine& line, int bid, CImportResult& result);
    bool BindListed(const CApartmentLine& line, int lineNumber, int aid, CImportResult& result);
    // The building a link line names: its bid, 0 when it names none, -1 when no field.
    int NamedBuilding(const std::string& field) const;

    CSQLite3Controller& db_;
    std::string databaseReason_;
    struct CStoredApartment {
        int bid;
        int aid;
    };
    // Apartment number, as the table stores it, to the apartments that have it.
    std::map<std::string, std::vector<CStoredApartment>> apartments_;
    // Each building's bid and its address as the lists show it, compared as AddressKey makes it.
    std::vector<std::pair<int, std::string>> buildings_;
};
