#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "database/Collections.h"
#include "database/ReadFailure.h"
#include "database/models/DataSubscriber.h"

class CQueryRows;
struct CExecuteResult;
class CSQLite3;
class CSQLite3Controller;

// The apartments table. Number, account and names are Windows-1251 in the records and UTF-8 in
// the file. Every apartment read loads its building through the building model.
class CSubscriberModel {
public:
    explicit CSubscriberModel(CSQLite3Controller& controller) : controller_(controller) {}
    CSubscriberModel(const CSubscriberModel&) = delete;
    CSubscriberModel& operator=(const CSubscriberModel&) = delete;

    // Null when the query failed or a building of the list could not be read, with SQLite's
    // reason in `failure` when one is given.
    std::unique_ptr<CArrayDataSubscriber> GetSubscribers(CReadFailure* failure = nullptr);
    std::unique_ptr<CArrayDataSubscriber> GetSubscribersByObject(int bid,
                                                                 CReadFailure* failure = nullptr);
    // An empty record (aid 0) when there is no such apartment; null when it or its building
    // could not be read.
    std::unique_ptr<CDataSubscriber> GetSubscriberById(int aid, CReadFailure* failure = nullptr);
    // Searches every building; when several apartments share the number, the last one read.
    std::unique_ptr<CDataSubscriber> GetSubscriberByNo(std::string_view no);
    // The new aid, or 0 when the insert failed (a number already taken in the building, ...:
    // then `outcome`, when given, holds SQLITE_CONSTRAINT_UNIQUE).
    int InsertSubscriber(const CDataSubscriber& subscriber, CExecuteResult* outcome = nullptr);
    bool UpdateSubscriber(const CDataSubscriber& subscriber);
    // True only when the row was deleted: false for an apartment that does not exist, while a
    // meter of any kind is bound to it, and when a lookup fails.
    bool DeleteSubscriber(int aid);

private:
    CSQLite3& Database();
    // A building that could not be loaded is said in `failure`.
    void ReadSubscriber(const CQueryRows& rows, CDataSubscriber& subscriber, CReadFailure& failure);
    std::unique_ptr<CArrayDataSubscriber> ReadSubscribers(const std::string& statement,
                                                          CReadFailure* failure);
    std::unique_ptr<CDataSubscriber> ReadSingleSubscriber(const std::string& statement,
                                                          CReadFailure* failure = nullptr);
    bool HasDevices(int aid);

    CSQLite3Controller& controller_;
};
