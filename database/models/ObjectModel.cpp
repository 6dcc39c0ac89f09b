#include "database/models/ObjectModel.h"

#include "Utils/TextConversion.h"
#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "database/Statement.h"
#include "database/models/ModelRows.h"

namespace {

constexpr const char* kSelectObjects =
    " SELECT `bid`, `city_id`, `street`, `NO`,  `index_` FROM `buildings`; ";
constexpr const char* kSelectObjectById =
    " SELECT `bid`, `city_id`, `street`, `NO`,  `index_` FROM `buildings` WHERE bid = '%i';";
constexpr const char* kInsertObject =
    "INSERT INTO buildings(`gid`, `city_id`, `street`, `no`, `index_`) VALUES (0, '%i', '%s', "
    "'%s', '%s');";
constexpr const char* kUpdateObject =
    "UPDATE buildings SET `city_id` = '%i', `street` = '%s', `no` = '%s', `index_` = '%s' WHERE "
    "`bid` = '%i';";
constexpr const char* kDeleteObject = "DELETE FROM `buildings` WHERE `bid` = '%i';";

void ReadObject(const CQueryRows& rows, CDataObject& object) {
    object.bid = rows.Int(0);
    object.city_id = rows.Int(1);
    object.street = StoredTextToCp1251(rows.Text(2));
    object.no = StoredTextToCp1251(rows.Text(3));
    object.index_ = StoredTextToCp1251(rows.Text(4));
}

}  // namespace

CSQLite3& CObjectModel::Database() {
    return controller_.Database;
}

std::unique_ptr<CArrayDataObject> CObjectModel::GetObjects(CReadFailure* failure) {
    return ReadList<CDataObject>(
        Database(), kSelectObjects,
        [](const CQueryRows& rows) {
            auto object = std::make_unique<CDataObject>();
            ReadObject(rows, *object);
            return object;
        },
        failure);
}

std::unique_ptr<CDataObject> CObjectModel::GetObjectById(int bid, CReadFailure* failure) {
    auto object = std::make_unique<CDataObject>();
    const auto read = [&](const CQueryRows& rows, CReadFailure&) { ReadObject(rows, *object); };
    if (!ReadRows(Database(), FormatStatement(kSelectObjectById, bid), read, failure))
        return nullptr;
    return object;
}

int CObjectModel::InsertObject(const CDataObject& object) {
    return Database().ExecuteInsert(
        FormatStatement(kInsertObject, object.city_id, Cp1251ToUtf8(object.street.view()),
                        Cp1251ToUtf8(object.no.view()), Cp1251ToUtf8(object.index_.view()))
            .c_str());
}

bool CObjectModel::UpdateObject(const CDataObject& object) {
    return Database().Execute(FormatStatement(kUpdateObject, object.city_id,
                                              Cp1251ToUtf8(object.street.view()),
                                              Cp1251ToUtf8(object.no.view()),
                                              Cp1251ToUtf8(object.index_.view()), object.bid)
                                  .c_str());
}

bool CObjectModel::DeleteObject(int bid) {
    if (GetObjectById(bid) == nullptr) return false;
    const auto apartments = controller_.SubscriberModel.GetSubscribersByObject(bid);
    if (apartments == nullptr || apartments->Count() > 0) return false;
    // A DELETE that matches no row succeeds all the same: only a row gone is a deletion.
    return Database().Run(FormatStatement(kDeleteObject, bid).c_str()).changes > 0;
}
