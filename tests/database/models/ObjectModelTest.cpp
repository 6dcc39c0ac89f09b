#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "Utils/TextConversion.h"

namespace {

using ObjectModelTest = ModelTest;

TEST_F(ObjectModelTest, AMissingBuildingIsAnEmptyRecordNotNull) {
    const auto object = db_.ObjectModel.GetObjectById(5);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->bid, 0);
    EXPECT_TRUE(object->street.empty());
    const auto objects = db_.ObjectModel.GetObjects();
    ASSERT_NE(objects, nullptr);
    EXPECT_EQ(objects->Count(), 0);
}

TEST_F(ObjectModelTest, CyrillicStreetHouseAndIndexRoundTripThroughUtf8) {
    CDataObject object;
    object.city_id = 3;
    object.street = Utf8ToCp1251("вул. Січових Стрільців");
    object.no = Utf8ToCp1251("12-Б");
    object.index_ = Utf8ToCp1251("79000 Львів");
    const int bid = db_.ObjectModel.InsertObject(object);
    ASSERT_EQ(bid, 1);

    EXPECT_EQ(QueryText("SELECT street FROM buildings;"), "вул. Січових Стрільців");
    EXPECT_EQ(QueryText("SELECT no FROM buildings;"), "12-Б");
    EXPECT_EQ(QueryText("SELECT index_ FROM buildings;"), "79000 Львів");
    EXPECT_EQ(QueryInt("SELECT gid FROM buildings;"), 0);

    const auto stored = db_.ObjectModel.GetObjectById(bid);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->bid, bid);
    EXPECT_EQ(stored->city_id, 3);
    EXPECT_EQ(stored->street, object.street.view());
    EXPECT_EQ(stored->no, object.no.view());
    EXPECT_EQ(stored->index_, object.index_.view());
    EXPECT_EQ(object.street, Utf8ToCp1251("вул. Січових Стрільців"))
        << "the caller's record is unchanged";
}

TEST_F(ObjectModelTest, AFullLengthCyrillicStreetIsKeptWholeAndQuotesSurvive) {
    CDataObject object;
    object.street = std::string(99, '\xC6');  // Ж, two bytes in UTF-8
    object.no = "O'Brien";
    const int bid = db_.ObjectModel.InsertObject(object);
    ASSERT_GT(bid, 0);
    const auto stored = db_.ObjectModel.GetObjectById(bid);
    EXPECT_EQ(stored->street.size(), 99u);
    EXPECT_EQ(stored->street, object.street.view());
    EXPECT_EQ(stored->no, "O'Brien");
}

TEST_F(ObjectModelTest, UpdateChangesTheTextsOfItsOwnRowOnly) {
    const int first = AddBuilding("First", "1");
    const int second = AddBuilding("Second", "2");
    auto object = db_.ObjectModel.GetObjectById(first);
    object->street = Utf8ToCp1251("Нова");
    object->index_ = "79001";
    ASSERT_TRUE(db_.ObjectModel.UpdateObject(*object));
    EXPECT_EQ(db_.ObjectModel.GetObjectById(first)->street, Utf8ToCp1251("Нова"));
    EXPECT_EQ(db_.ObjectModel.GetObjectById(first)->index_, "79001");
    EXPECT_EQ(db_.ObjectModel.GetObjectById(second)->street, "Second");

    const auto objects = db_.ObjectModel.GetObjects();
    ASSERT_EQ(objects->Count(), 2);
    EXPECT_EQ(objects->Get(0)->bid, first);
    EXPECT_EQ(objects->Get(1)->bid, second);
}

TEST_F(ObjectModelTest, ABuildingWithAnApartmentIsNotDeletedAnEmptyOneIsAndAMissingOneIsNot) {
    const int full = AddBuilding("Full");
    const int empty = AddBuilding("Empty");
    AddApartment(full, "1");
    EXPECT_FALSE(db_.ObjectModel.DeleteObject(full));
    EXPECT_EQ(db_.ObjectModel.GetObjectById(full)->bid, full);
    EXPECT_EQ(db_.SubscriberModel.GetSubscribersByObject(full)->Count(), 1);
    EXPECT_TRUE(db_.ObjectModel.DeleteObject(empty));
    EXPECT_EQ(db_.ObjectModel.GetObjectById(empty)->bid, 0);
    EXPECT_FALSE(db_.ObjectModel.DeleteObject(empty)) << "nothing left to delete";
    EXPECT_FALSE(db_.ObjectModel.DeleteObject(42));
}

TEST_F(BrokenDatabaseTest, BuildingOperationsReportFailure) {
    CDataObject object;
    EXPECT_EQ(db_.ObjectModel.GetObjects(), nullptr);
    EXPECT_EQ(db_.ObjectModel.GetObjectById(1), nullptr);
    EXPECT_EQ(db_.ObjectModel.InsertObject(object), 0);
    EXPECT_FALSE(db_.ObjectModel.UpdateObject(object));
    EXPECT_FALSE(db_.ObjectModel.DeleteObject(1));
}

}  // namespace
