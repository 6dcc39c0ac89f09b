#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "Utils/TextConversion.h"
#include "database/Statement.h"
#include "support/CommaDecimalLocale.h"

namespace {

using SubscriberModelTest = ModelTest;

std::unique_ptr<CDataSubscriber> Apartment(int bid, const char* no) {
    auto subscriber = std::make_unique<CDataSubscriber>();
    subscriber->bid = bid;
    subscriber->no = no;
    subscriber->licno = Utf8ToCp1251("ОР-0042");
    subscriber->sname = Utf8ToCp1251("Коваленко");
    subscriber->name = Utf8ToCp1251("Мар'яна");
    subscriber->fname = Utf8ToCp1251("Іванівна");
    subscriber->total_floor_area = 54.3;
    subscriber->heated_floor_area = 48.25;
    subscriber->num_reg_peopl = 3;
    subscriber->type_room = 1;
    subscriber->mzk = 1;
    return subscriber;
}

TEST_F(SubscriberModelTest, AMissingApartmentIsAnEmptyRecordNotNull) {
    const auto subscriber = db_.SubscriberModel.GetSubscriberById(3);
    ASSERT_NE(subscriber, nullptr);
    EXPECT_EQ(subscriber->aid, 0);
    EXPECT_EQ(subscriber->object, nullptr);
    const auto byNo = db_.SubscriberModel.GetSubscriberByNo("3");
    ASSERT_NE(byNo, nullptr);
    EXPECT_EQ(byNo->aid, 0);
}

TEST_F(SubscriberModelTest, AnApartmentComesBackWithEveryFieldAndItsBuilding) {
    const int bid = AddBuilding("Main", "5");
    const auto apartment = Apartment(bid, "17");
    const int aid = db_.SubscriberModel.InsertSubscriber(*apartment);
    ASSERT_EQ(aid, 1);

    EXPECT_EQ(QueryText("SELECT sname || '/' || name || '/' || fname || '/' || licno FROM app;"),
              "Коваленко/Мар'яна/Іванівна/ОР-0042");
    EXPECT_EQ(QueryText("SELECT typeof(no) FROM app;"), "integer");

    const auto stored = db_.SubscriberModel.GetSubscriberById(aid);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->aid, aid);
    EXPECT_EQ(stored->bid, bid);
    EXPECT_EQ(stored->no, "17");
    EXPECT_EQ(stored->licno, apartment->licno.view());
    EXPECT_EQ(stored->sname, apartment->sname.view());
    EXPECT_EQ(stored->name, apartment->name.view());
    EXPECT_EQ(stored->fname, apartment->fname.view());
    EXPECT_DOUBLE_EQ(stored->total_floor_area, 54.3);
    EXPECT_DOUBLE_EQ(stored->heated_floor_area, 48.25);
    EXPECT_EQ(stored->num_reg_peopl, 3);
    EXPECT_EQ(stored->type_room, 1);
    EXPECT_EQ(stored->mzk, 1);
    ASSERT_NE(stored->object, nullptr);
    EXPECT_EQ(stored->object->bid, bid);
    EXPECT_EQ(stored->object->no, "5");
}

TEST_F(SubscriberModelTest, AreasAreWrittenWithSixDecimals) {
    const auto apartment = Apartment(AddBuilding(), "1");
    apartment->heated_floor_area = 48.1234567;
    const int aid = db_.SubscriberModel.InsertSubscriber(*apartment);
    EXPECT_EQ(QueryText("SELECT printf('%.7f', heated_floor_area) FROM app;"), "48.1234570");
    EXPECT_DOUBLE_EQ(db_.SubscriberModel.GetSubscriberById(aid)->total_floor_area, 54.3);
}

TEST_F(SubscriberModelTest, AreasKeepTheirPointUnderACommaDecimalLocale) {
    const CCommaDecimalLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no comma-decimal locale is installed";
    const int aid = db_.SubscriberModel.InsertSubscriber(*Apartment(AddBuilding(), "1"));
    EXPECT_EQ(QueryText("SELECT typeof(total_floor_area) || ' ' || total_floor_area FROM app;"),
              "real 54.3");
    EXPECT_DOUBLE_EQ(db_.SubscriberModel.GetSubscriberById(aid)->total_floor_area, 54.3);
    auto apartment = db_.SubscriberModel.GetSubscriberById(aid);
    apartment->heated_floor_area = 40.75;
    ASSERT_TRUE(db_.SubscriberModel.UpdateSubscriber(*apartment));
    EXPECT_DOUBLE_EQ(db_.SubscriberModel.GetSubscriberById(aid)->heated_floor_area, 40.75);
}

TEST_F(SubscriberModelTest, ANumberWithALetterIsStoredAsUtf8AndComesBackEverywhere) {
    const int bid = AddBuilding();
    const std::string no = Utf8ToCp1251("12а");
    const int aid = AddApartment(bid, no);
    ASSERT_GT(aid, 0);
    EXPECT_EQ(QueryText("SELECT no FROM app;"), "12а");
    EXPECT_EQ(db_.SubscriberModel.GetSubscriberById(aid)->no, no);
    EXPECT_EQ(db_.SubscriberModel.GetSubscriberByNo(no)->aid, aid);

    auto apartment = db_.SubscriberModel.GetSubscriberById(aid);
    apartment->no = Utf8ToCp1251("12б");
    ASSERT_TRUE(db_.SubscriberModel.UpdateSubscriber(*apartment));
    EXPECT_EQ(QueryText("SELECT no FROM app;"), "12б");
    const int devid = AddDevice(db_.DeviceHeatModel, 5, aid);
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(devid, "2024-01-31 12:30")),
              InsertReadingResult::Stored);
    const auto archive = db_.MeteringModel.GetHeatArchive(bid, "2024-01-31", "2024-01-31");
    ASSERT_EQ(archive->Count(), 1);
    EXPECT_EQ(archive->Get(0)->CDataObject::no, Utf8ToCp1251("12б"));
}

TEST_F(SubscriberModelTest, ANumberAnEarlierVersionStoredUnconvertedReadsBackAsItWas) {
    const int bid = AddBuilding();
    const int aid = db_.Database.ExecuteInsert(
        FormatStatement("INSERT INTO app(bid, no) VALUES ('%i', '12\xE0');", bid).c_str());
    EXPECT_EQ(db_.SubscriberModel.GetSubscriberById(aid)->no, "12\xE0");
    EXPECT_EQ(db_.SubscriberModel.GetSubscribersByObject(bid)->Get(0)->no, "12\xE0");
    const int devid = AddDevice(db_.DeviceHeatModel, 5, aid);
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(devid, "2024-01-31 12:30")),
              InsertReadingResult::Stored);
    EXPECT_EQ(db_.MeteringModel.GetHeatArchive(bid, "2024-01-31", "2024-01-31")->Get(0)->no,
              "12\xE0");
}

TEST_F(SubscriberModelTest, UpdateKeepsSurnameNameAndPatronymicInTheirOwnColumns) {
    const int bid = AddBuilding();
    const int aid = db_.SubscriberModel.InsertSubscriber(*Apartment(bid, "1"));
    auto apartment = db_.SubscriberModel.GetSubscriberById(aid);
    apartment->sname = Utf8ToCp1251("Шевченко");
    apartment->name = Utf8ToCp1251("Тарас");
    apartment->fname = Utf8ToCp1251("Григорович");
    apartment->no = "2";
    apartment->total_floor_area = 60.5;
    ASSERT_TRUE(db_.SubscriberModel.UpdateSubscriber(*apartment));

    EXPECT_EQ(QueryText("SELECT sname || '/' || name || '/' || fname FROM app;"),
              "Шевченко/Тарас/Григорович");
    const auto stored = db_.SubscriberModel.GetSubscriberById(aid);
    EXPECT_EQ(stored->sname, Utf8ToCp1251("Шевченко"));
    EXPECT_EQ(stored->name, Utf8ToCp1251("Тарас"));
    EXPECT_EQ(stored->fname, Utf8ToCp1251("Григорович"));
    EXPECT_EQ(stored->no, "2");
    EXPECT_DOUBLE_EQ(stored->total_floor_area, 60.5);
}

TEST_F(SubscriberModelTest, ANumberIsUniqueWithinABuildingOnly) {
    const int first = AddBuilding("First");
    const int second = AddBuilding("Second");
    const int aid = AddApartment(first, "5");
    ASSERT_GT(aid, 0);
    EXPECT_EQ(AddApartment(first, "5"), 0);
    const int other = AddApartment(second, "5");
    EXPECT_GT(other, 0);
    const int sibling = AddApartment(first, "6");
    auto apartment = db_.SubscriberModel.GetSubscriberById(sibling);
    apartment->no = "5";
    EXPECT_FALSE(db_.SubscriberModel.UpdateSubscriber(*apartment));
    EXPECT_EQ(db_.SubscriberModel.GetSubscribers()->Count(), 3);
    EXPECT_EQ(db_.SubscriberModel.GetSubscribersByObject(first)->Count(), 2);
    // The number lookup searches every building and keeps the last row read.
    const auto byNo = db_.SubscriberModel.GetSubscriberByNo("5");
    EXPECT_EQ(byNo->aid, other);
    EXPECT_EQ(byNo->object->street, "Second");
}

TEST_F(SubscriberModelTest, AnApartmentWithABoundMeterOfAnyKindIsKeptUntilUnbound) {
    const int aid = AddApartment(AddBuilding(), "1");
    CDeviceBaseModel* const models[] = {&db_.DeviceHeatModel, &db_.DeviceWaterColdModel,
                                        &db_.DeviceWaterHotModel};
    for (CDeviceBaseModel* model : models) {
        const int devid = AddDevice(*model, 100, aid);
        EXPECT_FALSE(db_.SubscriberModel.DeleteSubscriber(aid));
        EXPECT_EQ(db_.SubscriberModel.GetSubscriberById(aid)->aid, aid);
        ASSERT_TRUE(model->BindDevice(devid, 0));
    }
    for (CDeviceBaseModel* model : models) ASSERT_TRUE(model->BindDevice(1, aid));
    for (CDeviceBaseModel* model : models) ASSERT_TRUE(model->UnbindDevices(aid));
    EXPECT_TRUE(db_.SubscriberModel.DeleteSubscriber(aid));
    EXPECT_EQ(db_.SubscriberModel.GetSubscriberById(aid)->aid, 0);
    EXPECT_FALSE(db_.SubscriberModel.DeleteSubscriber(aid)) << "nothing left to delete";
    EXPECT_FALSE(db_.SubscriberModel.DeleteSubscriber(42));
}

TEST_F(SubscriberModelTest, AnApartmentWhoseMetersCannotBeListedIsKept) {
    const int aid = AddApartment(AddBuilding(), "1");
    ASSERT_TRUE(db_.Database.Execute("ALTER TABLE devices_water_hot RENAME TO elsewhere;"));
    EXPECT_FALSE(db_.SubscriberModel.DeleteSubscriber(aid));
    EXPECT_EQ(db_.SubscriberModel.GetSubscriberById(aid)->aid, aid);
}

TEST_F(BrokenDatabaseTest, ApartmentOperationsReportFailure) {
    CDataSubscriber subscriber;
    EXPECT_EQ(db_.SubscriberModel.GetSubscribers(), nullptr);
    EXPECT_EQ(db_.SubscriberModel.GetSubscribersByObject(1), nullptr);
    EXPECT_EQ(db_.SubscriberModel.GetSubscriberById(1), nullptr);
    EXPECT_EQ(db_.SubscriberModel.GetSubscriberByNo("1"), nullptr);
    EXPECT_EQ(db_.SubscriberModel.InsertSubscriber(subscriber), 0);
    EXPECT_FALSE(db_.SubscriberModel.UpdateSubscriber(subscriber));
    EXPECT_FALSE(db_.SubscriberModel.DeleteSubscriber(1));
}

}  // namespace
