#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "database/Collections.h"
#include "database/ReadFailure.h"
#include "database/models/Device.h"
#include "database/models/DeviceTables.h"
#include "database/models/InsertReadingResult.h"

class CQueryRows;
struct CExecuteResult;
class CSQLite3;
class CSQLite3Controller;

enum DeleteDeviceResult {
    DeleteDeviceOk = 0,
    DeleteDeviceNotFound = 1,  // no such meter, or the lookup failed
    DeleteDeviceFailed = 2,
    DeleteDeviceHasReadings = 3,  // refused: its readings would lose their meter
    DeleteDeviceBound = 4,        // refused: still bound to an apartment
};

// The operations common to the three meter tables. Each model works on its own table only;
// a meter's apartment is loaded through the subscriber model of the same controller.
class CDeviceBaseModel {
public:
    CDeviceBaseModel(CSQLite3Controller& controller, const CDeviceTable& table)
        : controller_(controller), table_(table) {}
    CDeviceBaseModel(const CDeviceBaseModel&) = delete;
    CDeviceBaseModel& operator=(const CDeviceBaseModel&) = delete;

    // The heat model's records are CDeviceHeat, each with its apartment and that one's building.
    // Null when the list or an apartment or building of it could not be read, with SQLite's
    // reason in `failure` when one is given.
    std::unique_ptr<CArrayDevice> GetDevices(CReadFailure* failure = nullptr);
    // aid 0 lists every unbound meter.
    std::unique_ptr<CArrayDevice> GetDevicesByApartment(int aid);
    // Null when there is no such meter or the query failed; `failure`, when given, tells the
    // two apart.
    std::unique_ptr<CDevice> GetDeviceBySerial(unsigned int serial,
                                               CReadFailure* failure = nullptr);
    std::unique_ptr<CDevice> GetDeviceById(int devid);

    // The new devid, or 0 when the insert failed (a duplicate serial among others: then
    // `outcome`, when given, holds SQLITE_CONSTRAINT_UNIQUE). The record's own devid is ignored.
    // A heat meter's position is taken from a CDeviceHeat record.
    int InsertDevice(const CDevice& device, CExecuteResult* outcome = nullptr);
    // Overwrites every column of the row with the record's devid.
    bool UpdateDevice(const CDevice& device);
    // `outcome`, when given, says why it failed.
    bool BindDevice(int devid, int aid, CExecuteResult* outcome = nullptr);
    // Every meter of the apartment becomes unbound.
    bool UnbindDevices(int aid);
    DeleteDeviceResult DeleteDevice(int devid);

protected:
    CSQLite3& Database();
    const CDeviceTable& Table() const { return table_; }
    // The readings statement of this meter's table, newest first; empty limits are left out.
    std::string ReadingsStatement(int devid, std::string_view from, std::string_view to) const;
    // Runs a reading's INSERT; a failure other than a reading already stored is logged, and its
    // reason kept in `outcome` when one is given.
    InsertReadingResult StoreReading(const std::string& statement, int devid, const char* date,
                                     CExecuteResult* outcome);

private:
    // An apartment that could not be loaded is said in `failure`.
    std::unique_ptr<CDevice> ReadDevice(const CQueryRows& rows, CReadFailure& failure);
    std::unique_ptr<CArrayDevice> ReadDevices(const std::string& statement,
                                              CReadFailure* failure = nullptr);
    std::unique_ptr<CDevice> ReadSingleDevice(const std::string& statement,
                                              CReadFailure* failure = nullptr);
    // Empty when the readings query could not run.
    std::optional<bool> HasReadings(int devid);
    int PositionOf(const CDevice& device) const;

    CSQLite3Controller& controller_;
    const CDeviceTable& table_;
};
