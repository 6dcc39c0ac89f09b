#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "directory/import/ImportRecords.h"
#include "directory/import/ImportResult.h"

class CSQLite3Controller;

// Stores the records of an import file, the whole file in one transaction: a line that cannot
// be stored is skipped with its reason and the rest stored; a failure of the database itself
// rolls the whole file back. The screens and `vevo import` both run these.
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
    // Reads the file and runs `store` on each line inside one transaction; `store` returns
    // false when the database failed.
    CImportResult Run(const std::string& path, bool header,
                      const std::function<bool(const CImportLine&, CImportResult&)>& store);
    bool StoreMeter(const CImportLine& line, CImportResult& result);
    bool StoreLink(const CImportLine& line, CImportResult& result);
    bool StoreApartment(const CImportLine& line, int bid, CImportResult& result);
    bool BindListed(const CApartmentLine& line, int lineNumber, int aid, CImportResult& result);

    CSQLite3Controller& db_;
    // Apartment number to the aids that have it, in every building (links) or in one (apartments).
    std::map<std::string, std::vector<int>> apartments_;
};
