#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <string>
#include <thread>

#include "ModelFixture.h"

namespace {

using namespace std::chrono_literals;

// A second program on the same local.db, as a scheduled `vevo poll` beside the open window.
class COtherProgram {
public:
    COtherProgram() { sqlite3_open("local.db", &connection_); }
    ~COtherProgram() { sqlite3_close(connection_); }

    // The file's write lock, as while it stores a reading; readers may go on.
    bool BeginWrite() {
        return Run("BEGIN IMMEDIATE; INSERT INTO buildings(street) VALUES ('other');");
    }
    // The lock that keeps readers out as well, as while it commits.
    bool BeginExclusive() { return Run("BEGIN EXCLUSIVE;"); }
    bool Commit() { return Run("COMMIT;"); }
    // Commits from a thread of its own a moment later, while the test's statement waits.
    std::thread CommitSoon() {
        return std::thread([this] {
            std::this_thread::sleep_for(200ms);
            Commit();
        });
    }

private:
    bool Run(const char* text) {
        return sqlite3_exec(connection_, text, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    sqlite3* connection_ = nullptr;
};

using TwoProgramsTest = ModelTest;

TEST_F(TwoProgramsTest, AReadingWaitsForAnotherProgramsWriteOrFailsPastTheTimeOutSayingWhy) {
    COtherProgram other;
    ASSERT_TRUE(other.BeginWrite());
    std::thread commit = other.CommitSoon();
    EXPECT_EQ(db_.DeviceHeatModel.InsertReading(HeatReading(1, "2024-01-31 12:30")),
              InsertReadingResult::Stored);
    commit.join();
    EXPECT_EQ(QueryInt("SELECT count(*) FROM buildings WHERE street = 'other';"), 1);
    EXPECT_EQ(db_.DeviceHeatModel.GetReadings(1, "", "")->Count(), 1);

    CSQLite3Controller impatient("./local.db", 50ms);
    ASSERT_TRUE(other.BeginWrite());
    const CDataWater reading = WaterReading(2, "2024-01-31 12:30:45");
    EXPECT_EQ(impatient.DeviceWaterColdModel.InsertReading(reading), InsertReadingResult::Failed);
    ASSERT_TRUE(other.Commit());
    EXPECT_EQ(ReadFile("console.log"),
              "\nReading not stored (devid 2, 2024-01-31 12:30:45): database is locked;\n");
    EXPECT_EQ(impatient.DeviceWaterColdModel.InsertReading(reading), InsertReadingResult::Stored);
}

TEST_F(TwoProgramsTest, TheMeterListWaitsForAnotherProgramsCommitAndFailsRatherThanComeBackEmpty) {
    AddDevice(db_.DeviceHeatModel, 11);
    AddDevice(db_.DeviceHeatModel, 12);
    COtherProgram other;
    ASSERT_TRUE(other.BeginExclusive());
    std::thread commit = other.CommitSoon();
    const auto devices = db_.DeviceHeatModel.GetDevices();
    commit.join();
    ASSERT_NE(devices, nullptr);
    EXPECT_EQ(devices->Count(), 2);

    CSQLite3Controller impatient("./local.db", 50ms);
    ASSERT_TRUE(other.BeginExclusive());
    EXPECT_EQ(impatient.DeviceHeatModel.GetDevices(), nullptr) << "not a list without meters";
    ASSERT_TRUE(other.Commit());
    EXPECT_EQ(ReadFile("console.log"), "\nQuery failed: database is locked;\n");
}

}  // namespace
