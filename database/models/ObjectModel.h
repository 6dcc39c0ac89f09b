#pragma once

#include <memory>

#include "database/Collections.h"
#include "database/ReadFailure.h"
#include "database/models/DataObject.h"

class CSQLite3;
class CSQLite3Controller;

// The buildings table. Street, house number and index are Windows-1251 in the records and
// UTF-8 in the file.
class CObjectModel {
public:
    explicit CObjectModel(CSQLite3Controller& controller) : controller_(controller) {}
    CObjectModel(const CObjectModel&) = delete;
    CObjectModel& operator=(const CObjectModel&) = delete;

    // Null when the query failed, with SQLite's reason in `failure` when one is given.
    std::unique_ptr<CArrayDataObject> GetObjects(CReadFailure* failure = nullptr);
    // An empty record (bid 0) when there is no such building; null when the query failed, with
    // SQLite's reason in `failure` when one is given.
    std::unique_ptr<CDataObject> GetObjectById(int bid, CReadFailure* failure = nullptr);
    // The new bid, or 0 when the insert failed.
    int InsertObject(const CDataObject& object);
    bool UpdateObject(const CDataObject& object);
    // True only when the row was deleted: false for a building that does not exist, while it has
    // apartments, and when a lookup fails.
    bool DeleteObject(int bid);

private:
    CSQLite3& Database();

    CSQLite3Controller& controller_;
};
