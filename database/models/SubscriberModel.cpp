#include "database/models/SubscriberModel.h"

#include "Utils/TextConversion.h"
#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "database/Statement.h"
#include "database/models/ModelRows.h"

namespace {

constexpr const char* kSelectSubscribers =
    "SELECT `aid`, `bid`, `NO`, `licno`, `sname`, `name`, `fname`, `total_floor_area`, "
    "`heated_floor_area`, `num_reg_peopl`, `type_room`, `mzk` FROM `app`;";
constexpr const char* kSelectSubscribersByObject =
    "SELECT `aid`, `bid`, `NO`, `licno`, `sname`, `name`, `fname`, `total_floor_area`, "
    "`heated_floor_area`, `num_reg_peopl`, `type_room`, `mzk` FROM `app` WHERE `bid` = '%i';";
constexpr const char* kSelectSubscriberById =
    "SELECT `aid`, `bid`, `NO`, `licno`, `sname`, `name`, `fname`, `total_floor_area`, "
    "`heated_floor_area`, `num_reg_peopl`, `type_room`, `mzk` FROM `app` WHERE `aid` = '%i';";
constexpr const char* kSelectSubscriberByNo =
    "SELECT `aid`, `bid`, `NO`, `licno`, `sname`, `name`, `fname`, `total_floor_area`, "
    "`heated_floor_area`, `num_reg_peopl`, `type_room`, `mzk` FROM `app` WHERE `no` = '%s';";
constexpr const char* kInsertSubscriber =
    "INSERT INTO app(`bid`, `no`, `licno`, `name`, `sname`, `fname`, `total_floor_area`, "
    "`heated_floor_area`, `num_reg_peopl`, `type_room`, `mzk`) VALUES ('%i', '%s', '%s', '%s', "
    "'%s', '%s', '%f', '%f', '%i', '%i', '%i');";
constexpr const char* kUpdateSubscriber =
    "UPDATE app SET `bid` = '%i', `no` = '%s', `licno` = '%s', `name` = '%s', `fname` = '%s', "
    "`sname` = '%s', `total_floor_area` = '%f', `heated_floor_area` = '%f', `num_reg_peopl` = "
    "'%i', `type_room` = '%i', `mzk` = '%i' WHERE `aid` = '%i';";
constexpr const char* kDeleteSubscriber = "DELETE FROM `app` WHERE `aid` = '%i';";

}  // namespace

CSQLite3& CSubscriberModel::Database() {
    return controller_.Database;
}

void CSubscriberModel::ReadSubscriber(const CQueryRows& rows, CDataSubscriber& subscriber,
                                      CReadFailure& failure) {
    subscriber.aid = rows.Int(0);
    subscriber.bid = rows.Int(1);
    subscriber.no = StoredTextToCp1251(rows.Text(2));
    subscriber.licno = StoredTextToCp1251(rows.Text(3));
    subscriber.sname = StoredTextToCp1251(rows.Text(4));
    subscriber.name = StoredTextToCp1251(rows.Text(5));
    subscriber.fname = StoredTextToCp1251(rows.Text(6));
    subscriber.total_floor_area = rows.Double(7);
    subscriber.heated_floor_area = rows.Double(8);
    subscriber.num_reg_peopl = rows.Int(9);
    subscriber.type_room = static_cast<std::uint8_t>(rows.Int(10));
    subscriber.mzk = static_cast<std::uint8_t>(rows.Int(11));
    subscriber.object = subscriber.bid != 0
                            ? controller_.ObjectModel.GetObjectById(subscriber.bid, &failure)
                            : nullptr;
}

std::unique_ptr<CDataSubscriber> CSubscriberModel::ReadSingleSubscriber(
    const std::string& statement, CReadFailure* failure) {
    auto subscriber = std::make_unique<CDataSubscriber>();
    const auto read = [&](const CQueryRows& rows, CReadFailure& nested) {
        ReadSubscriber(rows, *subscriber, nested);
    };
    if (!ReadRows(Database(), statement, read, failure)) return nullptr;
    return subscriber;
}

std::unique_ptr<CArrayDataSubscriber> CSubscriberModel::ReadSubscribers(
    const std::string& statement, CReadFailure* failure) {
    return ReadNestedList<CDataSubscriber>(
        Database(), statement,
        [this](const CQueryRows& rows, CReadFailure& nested) {
            auto subscriber = std::make_unique<CDataSubscriber>();
            ReadSubscriber(rows, *subscriber, nested);
            return subscriber;
        },
        failure);
}

std::unique_ptr<CArrayDataSubscriber> CSubscriberModel::GetSubscribers(CReadFailure* failure) {
    return ReadSubscribers(kSelectSubscribers, failure);
}

std::unique_ptr<CArrayDataSubscriber> CSubscriberModel::GetSubscribersByObject(
    int bid, CReadFailure* failure) {
    return ReadSubscribers(FormatStatement(kSelectSubscribersByObject, bid), failure);
}

std::unique_ptr<CDataSubscriber> CSubscriberModel::GetSubscriberById(int aid,
                                                                     CReadFailure* failure) {
    return ReadSingleSubscriber(FormatStatement(kSelectSubscriberById, aid), failure);
}

std::unique_ptr<CDataSubscriber> CSubscriberModel::GetSubscriberByNo(std::string_view no) {
    return ReadSingleSubscriber(FormatStatement(kSelectSubscriberByNo, Cp1251ToUtf8(no)));
}

int CSubscriberModel::InsertSubscriber(const CDataSubscriber& subscriber, CExecuteResult* outcome) {
    return Database().ExecuteInsert(
        FormatStatement(kInsertSubscriber, subscriber.bid, Cp1251ToUtf8(subscriber.no.view()),
                        Cp1251ToUtf8(subscriber.licno.view()), Cp1251ToUtf8(subscriber.name.view()),
                        Cp1251ToUtf8(subscriber.sname.view()),
                        Cp1251ToUtf8(subscriber.fname.view()), subscriber.total_floor_area,
                        subscriber.heated_floor_area, subscriber.num_reg_peopl,
                        int{subscriber.type_room}, int{subscriber.mzk})
            .c_str(),
        outcome);
}

bool CSubscriberModel::UpdateSubscriber(const CDataSubscriber& subscriber) {
    return Database().Execute(
        FormatStatement(kUpdateSubscriber, subscriber.bid, Cp1251ToUtf8(subscriber.no.view()),
                        Cp1251ToUtf8(subscriber.licno.view()), Cp1251ToUtf8(subscriber.name.view()),
                        Cp1251ToUtf8(subscriber.fname.view()),
                        Cp1251ToUtf8(subscriber.sname.view()), subscriber.total_floor_area,
                        subscriber.heated_floor_area, subscriber.num_reg_peopl,
                        int{subscriber.type_room}, int{subscriber.mzk}, subscriber.aid)
            .c_str());
}

bool CSubscriberModel::HasDevices(int aid) {
    CDeviceBaseModel* const models[] = {&controller_.DeviceHeatModel,
                                        &controller_.DeviceWaterColdModel,
                                        &controller_.DeviceWaterHotModel};
    for (CDeviceBaseModel* model : models) {
        // A list that cannot be read counts as bound: the apartment is kept.
        const auto devices = model->GetDevicesByApartment(aid);
        if (devices == nullptr || devices->Count() > 0) return true;
    }
    return false;
}

bool CSubscriberModel::DeleteSubscriber(int aid) {
    if (GetSubscriberById(aid) == nullptr) return false;
    if (HasDevices(aid)) return false;
    // A DELETE that matches no row succeeds all the same: only a row gone is a deletion.
    return Database().Run(FormatStatement(kDeleteSubscriber, aid).c_str()).changes > 0;
}
