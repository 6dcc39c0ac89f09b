#include <gtest/gtest.h>

#include "ModelFixture.h"

namespace {

using DeviceModelTest = ModelTest;

const CDeviceHeat& AsHeat(const CDevice* device) {
    return dynamic_cast<const CDeviceHeat&>(*device);
}

TEST_F(DeviceModelTest, AnEmptyTableListsAsAnEmptyCollection) {
    for (CDeviceBaseModel* model : {static_cast<CDeviceBaseModel*>(&db_.DeviceHeatModel),
                                    static_cast<CDeviceBaseModel*>(&db_.DeviceWaterColdModel),
                                    static_cast<CDeviceBaseModel*>(&db_.DeviceWaterHotModel)}) {
        const auto devices = model->GetDevices();
        ASSERT_NE(devices, nullptr);
        EXPECT_EQ(devices->Count(), 0);
        EXPECT_EQ(model->GetDeviceById(1), nullptr);
        EXPECT_EQ(model->GetDeviceBySerial(1), nullptr);
    }
}

TEST_F(DeviceModelTest, AHeatMeterComesBackWithEveryFieldAndItsApartmentAndBuilding) {
    const int bid = AddBuilding("Shevchenka", "12");
    const int aid = AddApartment(bid, "7");
    const int devid = AddDevice(db_.DeviceHeatModel, 12345678, aid, 1);
    ASSERT_EQ(devid, 1);

    const auto devices = db_.DeviceHeatModel.GetDevices();
    ASSERT_NE(devices, nullptr);
    ASSERT_EQ(devices->Count(), 1);
    const CDeviceHeat& device = AsHeat(devices->Get(0));
    EXPECT_EQ(device.devid, devid);
    EXPECT_EQ(device.serial, 12345678);
    EXPECT_EQ(device.aid, aid);
    EXPECT_EQ(device.date_install, "2024-01-15");
    EXPECT_EQ(device.date_initial_verification, "2024-01-20");
    EXPECT_EQ(device.calibration_interval, 48);
    EXPECT_EQ(device.position, 1);
    ASSERT_NE(device.subscriber, nullptr);
    EXPECT_EQ(device.subscriber->aid, aid);
    EXPECT_EQ(device.subscriber->no, "7");
    ASSERT_NE(device.subscriber->object, nullptr);
    EXPECT_EQ(device.subscriber->object->street, "Shevchenka");

    const auto bySerial = db_.DeviceHeatModel.GetDeviceBySerial(12345678);
    ASSERT_NE(bySerial, nullptr);
    EXPECT_EQ(bySerial->devid, devid);
    EXPECT_EQ(AsHeat(bySerial.get()).position, 1);
}

TEST_F(DeviceModelTest, WaterMetersAreNotHeatMetersAndAnUnboundMeterHasNoApartment) {
    const int devid = AddDevice(db_.DeviceWaterColdModel, 555);
    const auto device = db_.DeviceWaterColdModel.GetDeviceById(devid);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(dynamic_cast<const CDeviceHeat*>(device.get()), nullptr);
    EXPECT_EQ(device->aid, 0);
    EXPECT_EQ(device->subscriber, nullptr);
}

TEST_F(DeviceModelTest, AMeterBoundToAVanishedApartmentStillLoadsWithAnEmptyApartment) {
    const int devid = AddDevice(db_.DeviceWaterHotModel, 42, 99);
    const auto device = db_.DeviceWaterHotModel.GetDeviceById(devid);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->aid, 99);
    ASSERT_NE(device->subscriber, nullptr);
    EXPECT_EQ(device->subscriber->aid, 0);
    EXPECT_EQ(device->subscriber->object, nullptr);
}

TEST_F(DeviceModelTest, ASerialIsUniquePerTableButNotAcrossTables) {
    ASSERT_EQ(AddDevice(db_.DeviceHeatModel, 777), 1);
    EXPECT_EQ(AddDevice(db_.DeviceHeatModel, 777), 0);
    EXPECT_EQ(db_.DeviceHeatModel.GetDevices()->Count(), 1);
    EXPECT_EQ(AddDevice(db_.DeviceWaterColdModel, 777), 1);
    EXPECT_EQ(AddDevice(db_.DeviceWaterHotModel, 777), 1);
    // Ids are never reused within a table, even after the failed insert.
    EXPECT_EQ(AddDevice(db_.DeviceHeatModel, 778), 2);
}

TEST_F(DeviceModelTest, UpdateOverwritesEveryColumnAndPositionTwoIsRefused) {
    const int devid = AddDevice(db_.DeviceHeatModel, 100);
    CDeviceHeat changed;
    changed.devid = devid;
    changed.serial = 200;
    changed.aid = 5;
    changed.date_install = "2023-02-01";
    changed.date_initial_verification = "";
    changed.calibration_interval = 24;
    changed.position = 1;
    ASSERT_TRUE(db_.DeviceHeatModel.UpdateDevice(changed));
    auto stored = db_.DeviceHeatModel.GetDeviceById(devid);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->serial, 200);
    EXPECT_EQ(stored->aid, 5);
    EXPECT_EQ(stored->date_install, "2023-02-01");
    EXPECT_EQ(stored->date_initial_verification, "");
    EXPECT_EQ(stored->calibration_interval, 24);
    EXPECT_EQ(AsHeat(stored.get()).position, 1);

    changed.position = 2;
    changed.serial = 300;
    EXPECT_FALSE(db_.DeviceHeatModel.UpdateDevice(changed));
    stored = db_.DeviceHeatModel.GetDeviceById(devid);
    EXPECT_EQ(stored->serial, 200);
    EXPECT_EQ(AsHeat(stored.get()).position, 1);

    changed.position = 0;
    changed.devid = 999;
    EXPECT_TRUE(db_.DeviceHeatModel.UpdateDevice(changed)) << "no matching row still succeeds";
}

TEST_F(DeviceModelTest, UpdateToASerialTakenInTheSameTableFails) {
    AddDevice(db_.DeviceWaterColdModel, 1);
    const int second = AddDevice(db_.DeviceWaterColdModel, 2);
    auto device = db_.DeviceWaterColdModel.GetDeviceById(second);
    device->serial = 1;
    EXPECT_FALSE(db_.DeviceWaterColdModel.UpdateDevice(*device));
    EXPECT_EQ(db_.DeviceWaterColdModel.GetDeviceById(second)->serial, 2);
}

TEST_F(DeviceModelTest, DatesAreCutToTheirFieldAndAQuoteCannotBreakTheStatement) {
    CDevice device;
    device.serial = 9;
    device.date_install = "2024-01-15 and more";
    device.date_initial_verification = "O'Neil";
    const int devid = db_.DeviceWaterColdModel.InsertDevice(device);
    ASSERT_GT(devid, 0);
    const auto stored = db_.DeviceWaterColdModel.GetDeviceById(devid);
    EXPECT_EQ(stored->date_install, "2024-01-15 and");
    EXPECT_EQ(stored->date_initial_verification, "O'Neil");

    // A longer text put into the file by other means is cut when read.
    ASSERT_TRUE(db_.Database.Execute(
        "UPDATE devices_water_cold SET date_install = '2024-01-15 10:20:30';"));
    EXPECT_EQ(db_.DeviceWaterColdModel.GetDeviceById(devid)->date_install, "2024-01-15 10:");
}

TEST_F(DeviceModelTest, ListingByApartmentZeroGivesTheUnboundMeters) {
    const int aid = AddApartment(AddBuilding(), "1");
    AddDevice(db_.DeviceHeatModel, 1, aid);
    AddDevice(db_.DeviceHeatModel, 2);
    AddDevice(db_.DeviceHeatModel, 3);
    const auto unbound = db_.DeviceHeatModel.GetDevicesByApartment(0);
    ASSERT_NE(unbound, nullptr);
    ASSERT_EQ(unbound->Count(), 2);
    EXPECT_EQ(unbound->Get(0)->serial, 2);
    EXPECT_EQ(unbound->Get(1)->serial, 3);
    const auto bound = db_.DeviceHeatModel.GetDevicesByApartment(aid);
    ASSERT_EQ(bound->Count(), 1);
    EXPECT_EQ(bound->Get(0)->serial, 1);
}

TEST_F(DeviceModelTest, BindAndUnbindChangeOnlyTheirOwnTable) {
    const int aid = AddApartment(AddBuilding(), "1");
    ASSERT_EQ(AddDevice(db_.DeviceWaterColdModel, 10), 1);
    ASSERT_EQ(AddDevice(db_.DeviceWaterColdModel, 11), 2);
    ASSERT_EQ(AddDevice(db_.DeviceWaterHotModel, 10), 1);
    EXPECT_TRUE(db_.DeviceWaterColdModel.BindDevice(1, aid));
    EXPECT_TRUE(db_.DeviceWaterColdModel.BindDevice(2, aid));
    EXPECT_TRUE(db_.DeviceWaterHotModel.BindDevice(1, aid));
    EXPECT_EQ(db_.DeviceWaterColdModel.GetDevicesByApartment(aid)->Count(), 2);

    EXPECT_TRUE(db_.DeviceWaterColdModel.UnbindDevices(aid));
    EXPECT_EQ(db_.DeviceWaterColdModel.GetDevicesByApartment(aid)->Count(), 0);
    EXPECT_EQ(db_.DeviceWaterHotModel.GetDevicesByApartment(aid)->Count(), 1);
}

TEST_F(DeviceModelTest, DeleteChecksExistenceThenBindingThenReadings) {
    const int aid = AddApartment(AddBuilding(), "1");
    EXPECT_EQ(db_.DeviceHeatModel.DeleteDevice(1), DeleteDeviceNotFound);

    const int bound = AddDevice(db_.DeviceHeatModel, 1, aid);
    ASSERT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(bound, "2024-01-31 12:30")),
              InsertReadingResult::Stored);
    EXPECT_EQ(db_.DeviceHeatModel.DeleteDevice(bound), DeleteDeviceBound);

    ASSERT_TRUE(db_.DeviceHeatModel.UnbindDevices(aid));
    EXPECT_EQ(db_.DeviceHeatModel.DeleteDevice(bound), DeleteDeviceHasReadings);
    EXPECT_NE(db_.DeviceHeatModel.GetDeviceById(bound), nullptr);
    EXPECT_EQ(db_.DeviceHeatModel.GetReadings(bound, "", "")->Count(), 1);

    const int clean = AddDevice(db_.DeviceHeatModel, 2);
    EXPECT_EQ(db_.DeviceHeatModel.DeleteDevice(clean), DeleteDeviceOk);
    EXPECT_EQ(db_.DeviceHeatModel.GetDeviceById(clean), nullptr);
    EXPECT_EQ(db_.DeviceHeatModel.DeleteDevice(clean), DeleteDeviceNotFound);
}

TEST_F(DeviceModelTest, DeletingAColdMeterLeavesTheHotMeterWithTheSameIdAndReadingsAlone) {
    ASSERT_EQ(AddDevice(db_.DeviceWaterColdModel, 1), 1);
    ASSERT_EQ(AddDevice(db_.DeviceWaterHotModel, 2), 1);
    ASSERT_EQ(db_.DeviceWaterHotModel.InsertReading(WaterReading(1, "2024-01-31 12:30:45")),
              InsertReadingResult::Stored);
    // The hot meter's reading does not count against the cold meter with the same devid.
    EXPECT_EQ(db_.DeviceWaterColdModel.DeleteDevice(1), DeleteDeviceOk);
    EXPECT_NE(db_.DeviceWaterHotModel.GetDeviceById(1), nullptr);
    EXPECT_EQ(db_.DeviceWaterHotModel.DeleteDevice(1), DeleteDeviceHasReadings);
}

TEST_F(DeviceModelTest, AMeterWhoseReadingsCannotBeCheckedIsKept) {
    const int devid = AddDevice(db_.DeviceWaterColdModel, 1);
    ASSERT_TRUE(db_.Database.Execute("ALTER TABLE water_cold_data_current RENAME TO elsewhere;"));
    EXPECT_EQ(db_.DeviceWaterColdModel.DeleteDevice(devid), DeleteDeviceFailed);
    EXPECT_NE(db_.DeviceWaterColdModel.GetDeviceById(devid), nullptr);
}

TEST_F(BrokenDatabaseTest, MeterOperationsReportFailure) {
    CDeviceHeat device;
    device.serial = 1;
    EXPECT_EQ(db_.DeviceHeatModel.GetDevices(), nullptr);
    EXPECT_EQ(db_.DeviceHeatModel.GetDevicesByApartment(0), nullptr);
    EXPECT_EQ(db_.DeviceHeatModel.GetDeviceById(1), nullptr);
    EXPECT_EQ(db_.DeviceHeatModel.InsertDevice(device), 0);
    EXPECT_FALSE(db_.DeviceHeatModel.UpdateDevice(device));
    EXPECT_FALSE(db_.DeviceHeatModel.BindDevice(1, 1));
    EXPECT_EQ(db_.DeviceHeatModel.DeleteDevice(1), DeleteDeviceNotFound);
}

}  // namespace
