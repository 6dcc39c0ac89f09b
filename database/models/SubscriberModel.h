#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "database/Collections.h"
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

    // Null when the query failed.
    std::unique_ptr<CArrayDataSubscriber> GetSubscribers();
    std::unique_ptr<CArrayDataSubscriber> GetSubscribersByObject(int bid);
    // An empty record (aid 0) when there is no such apartment; null when the query failed.
    std::unique_ptr<CDataSubscriber> GetSubscriberById(int aid);
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
    void ReadSubscriber(const CQueryRows& rows, CDataSubscriber& subscriber);
    std::unique_ptr<CArrayDataSubscriber> ReadSubscribers(const std::string& statement);
    std::unique_ptr<CDataSubscriber> ReadSingleSubscriber(const std::string& statement);
    bool HasDevices(int aid);

    CSQLite3Controller& controller_;
};
