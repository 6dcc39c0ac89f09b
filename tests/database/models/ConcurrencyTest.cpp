#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "ModelFixture.h"
#include "Utils/Format.h"

namespace {

using ConcurrencyTest = ModelTest;

// The polling thread inserts readings on the shared connection while the screens insert and
// read directory rows on it.
TEST_F(ConcurrencyTest, PollingInsertsAndScreenWorkShareTheConnectionSafely) {
    constexpr int kReadings = 1500;
    constexpr int kApartments = 300;
    const int bid = AddBuilding();
    const int pollDevid = AddDevice(db_.DeviceHeatModel, 99999999);
    ASSERT_GT(pollDevid, 0);

    std::atomic<int> failedReadings{0};
    std::atomic<int> failedLists{0};
    std::thread polling([&] {
        for (int i = 0; i < kReadings; ++i) {
            // One reading a minute, so every date is new.
            const std::string date =
                Format("2024-01-%02d %02d:%02d", 1 + i / 1440, i / 60 % 24, i % 60);
            if (db_.DeviceHeatModel.InsertReading(HeatReading(pollDevid, date)) !=
                InsertReadingResult::Stored) {
                ++failedReadings;
            }
            if (i % 100 == 0 && db_.DeviceHeatModel.GetDevices() == nullptr) ++failedLists;
        }
    });

    int wrongIds = 0;
    for (int i = 1; i <= kApartments; ++i) {
        CDataSubscriber apartment;
        apartment.bid = bid;
        apartment.no = std::to_string(i);
        apartment.licno = Format("L%d", i);
        const int aid = db_.SubscriberModel.InsertSubscriber(apartment);
        const auto storedApartment = db_.SubscriberModel.GetSubscriberById(aid);
        if (aid <= 0 || storedApartment == nullptr ||
            storedApartment->licno != apartment.licno.view()) {
            ++wrongIds;
        }

        const int devid = AddDevice(db_.DeviceWaterColdModel, i, aid);
        const auto storedDevice = db_.DeviceWaterColdModel.GetDeviceById(devid);
        if (devid <= 0 || storedDevice == nullptr || storedDevice->serial != i ||
            storedDevice->subscriber == nullptr || storedDevice->subscriber->aid != aid) {
            ++wrongIds;
        }
    }
    polling.join();

    EXPECT_EQ(wrongIds, 0) << "an insert handed back an id that is not its own row's";
    EXPECT_EQ(failedReadings.load(), 0);
    EXPECT_EQ(failedLists.load(), 0);
    EXPECT_EQ(db_.DeviceHeatModel.GetReadings(pollDevid, "", "")->Count(), kReadings);
    EXPECT_EQ(db_.SubscriberModel.GetSubscribersByObject(bid)->Count(), kApartments);
    EXPECT_EQ(db_.DeviceWaterColdModel.GetDevices()->Count(), kApartments);
    EXPECT_FALSE(std::filesystem::exists("console.log")) << ReadFile("console.log");
}

}  // namespace
