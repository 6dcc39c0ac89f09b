#include "database/models/DeviceBaseModel.h"

#include "Utils/TextConversion.h"
#include "app/Log.h"
#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "database/Statement.h"
#include "database/models/ModelRows.h"

CSQLite3& CDeviceBaseModel::Database() {
    return controller_.Database;
}

std::string CDeviceBaseModel::ReadingsStatement(int devid, std::string_view from,
                                                std::string_view to) const {
    std::string statement = table_.selectReadingsHead;
    statement += FormatStatement(" WHERE `DEVID` = '%i' ", devid);
    if (!from.empty()) statement += FormatStatement(" AND `DATE` >= '%s' ", Cp1251ToUtf8(from));
    if (!to.empty()) statement += FormatStatement(" AND `DATE` <= '%s' ", Cp1251ToUtf8(to));
    statement += " ORDER BY `DATE` DESC; ";
    return statement;
}

std::unique_ptr<CDevice> CDeviceBaseModel::ReadDevice(const CQueryRows& rows,
                                                      CReadFailure& failure) {
    std::unique_ptr<CDevice> device;
    if (table_.hasPosition) {
        auto heat = std::make_unique<CDeviceHeat>();
        heat->position = rows.Int(6);
        device = std::move(heat);
    } else {
        device = std::make_unique<CDevice>();
    }
    device->devid = rows.Int(0);
    device->aid = rows.Int(1);
    device->serial = rows.Int(2);
    device->date_install = StoredTextToCp1251(rows.Text(3));
    device->date_initial_verification = StoredTextToCp1251(rows.Text(4));
    device->calibration_interval = rows.Int(5);
    if (device->aid != 0)
        device->subscriber = controller_.SubscriberModel.GetSubscriberById(device->aid, &failure);
    return device;
}

std::unique_ptr<CArrayDevice> CDeviceBaseModel::ReadDevices(const std::string& statement,
                                                            CReadFailure* failure) {
    return ReadNestedList<CDevice>(
        Database(), statement,
        [this](const CQueryRows& rows, CReadFailure& nested) { return ReadDevice(rows, nested); },
        failure);
}

std::unique_ptr<CDevice> CDeviceBaseModel::ReadSingleDevice(const std::string& statement,
                                                            CReadFailure* failure) {
    std::unique_ptr<CDevice> device;
    const auto read = [&](const CQueryRows& rows, CReadFailure& nested) {
        device = ReadDevice(rows, nested);
    };
    if (!ReadRows(Database(), statement, read, failure)) return nullptr;
    return device;
}

std::unique_ptr<CArrayDevice> CDeviceBaseModel::GetDevices(CReadFailure* failure) {
    return ReadDevices(table_.selectAll, failure);
}

std::unique_ptr<CArrayDevice> CDeviceBaseModel::GetDevicesByApartment(int aid) {
    return ReadDevices(FormatStatement(table_.selectByApartment, aid));
}

std::unique_ptr<CDevice> CDeviceBaseModel::GetDeviceBySerial(unsigned int serial,
                                                             CReadFailure* failure) {
    return ReadSingleDevice(FormatStatement(table_.selectBySerial, serial), failure);
}

std::unique_ptr<CDevice> CDeviceBaseModel::GetDeviceById(int devid) {
    return ReadSingleDevice(FormatStatement(table_.selectById, devid));
}

std::optional<bool> CDeviceBaseModel::HasReadings(int devid) {
    // The meter's readings query; its first row is enough to know.
    CQueryRows rows(Database(), ReadingsStatement(devid, {}, {}));
    if (!rows.Prepared()) return std::nullopt;
    const bool found = rows.Next();
    if (rows.Failed()) return std::nullopt;
    return found;
}

int CDeviceBaseModel::PositionOf(const CDevice& device) const {
    const auto* heat = dynamic_cast<const CDeviceHeat*>(&device);
    return heat != nullptr ? heat->position : 0;
}

int CDeviceBaseModel::InsertDevice(const CDevice& device, CExecuteResult* outcome) {
    const std::string installed = Cp1251ToUtf8(device.date_install.view());
    const std::string verified = Cp1251ToUtf8(device.date_initial_verification.view());
    const std::string statement =
        table_.hasPosition
            ? FormatStatement(table_.insert, device.aid, device.serial, installed, verified,
                              device.calibration_interval, PositionOf(device))
            : FormatStatement(table_.insert, device.aid, device.serial, installed, verified,
                              device.calibration_interval);
    return Database().ExecuteInsert(statement.c_str(), outcome);
}

bool CDeviceBaseModel::UpdateDevice(const CDevice& device) {
    const std::string installed = Cp1251ToUtf8(device.date_install.view());
    const std::string verified = Cp1251ToUtf8(device.date_initial_verification.view());
    const std::string statement =
        table_.hasPosition
            ? FormatStatement(table_.update, device.aid, device.serial, installed, verified,
                              device.calibration_interval, PositionOf(device), device.devid)
            : FormatStatement(table_.update, device.aid, device.serial, installed, verified,
                              device.calibration_interval, device.devid);
    return Database().Execute(statement.c_str());
}

bool CDeviceBaseModel::BindDevice(int devid, int aid, CExecuteResult* outcome) {
    CExecuteResult result = Database().Run(FormatStatement(table_.bind, aid, devid).c_str());
    const bool bound = result.Ok();
    if (outcome != nullptr) *outcome = std::move(result);
    return bound;
}

bool CDeviceBaseModel::UnbindDevices(int aid) {
    return Database().Execute(FormatStatement(table_.unbind, aid).c_str());
}

InsertReadingResult CDeviceBaseModel::StoreReading(const std::string& statement, int devid,
                                                   const char* date, CExecuteResult* outcome) {
    CExecuteResult result = Database().Run(statement.c_str());
    InsertReadingResult stored = InsertReadingResult::Stored;
    // The readings tables' only UNIQUE constraint is the one on date and meter.
    if (result.code == SQLITE_CONSTRAINT_UNIQUE) {
        stored = InsertReadingResult::AlreadyStored;
    } else if (!result.Ok()) {
        Log.Write("\nReading not stored (devid %i, %s): %s;\n", devid, date, result.error.c_str());
        stored = InsertReadingResult::Failed;
    }
    if (outcome != nullptr) *outcome = std::move(result);
    return stored;
}

DeleteDeviceResult CDeviceBaseModel::DeleteDevice(int devid) {
    const std::unique_ptr<CDevice> device = GetDeviceById(devid);
    if (device == nullptr) return DeleteDeviceNotFound;
    if (device->aid != 0) return DeleteDeviceBound;
    // When the readings cannot be checked the meter is kept: deleting it could orphan them.
    const std::optional<bool> hasReadings = HasReadings(devid);
    if (!hasReadings.has_value()) return DeleteDeviceFailed;
    if (*hasReadings) return DeleteDeviceHasReadings;
    return Database().Execute(FormatStatement(table_.remove, devid).c_str()) ? DeleteDeviceOk
                                                                             : DeleteDeviceFailed;
}
