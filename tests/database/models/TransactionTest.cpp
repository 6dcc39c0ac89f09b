#include <gtest/gtest.h>

#include "ModelFixture.h"

namespace {

using TransactionTest = ModelTest;

TEST_F(TransactionTest, CommittedInsertsStayAndRolledBackOnesVanish) {
    ASSERT_TRUE(db_.Database.BeginTransaction());
    EXPECT_EQ(AddDevice(db_.DeviceWaterColdModel, 1), 1);
    EXPECT_EQ(AddDevice(db_.DeviceWaterColdModel, 2), 2);
    ASSERT_TRUE(db_.Database.RollbackTransaction());
    EXPECT_EQ(db_.DeviceWaterColdModel.GetDevices()->Count(), 0);

    ASSERT_TRUE(db_.Database.BeginTransaction());
    EXPECT_EQ(AddDevice(db_.DeviceWaterColdModel, 3), 1) << "the rolled back ids are free again";
    ASSERT_TRUE(db_.Database.CommitTransaction());

    CSQLite3Controller reopened("./local.db");
    const auto devices = reopened.DeviceWaterColdModel.GetDevices();
    ASSERT_EQ(devices->Count(), 1);
    EXPECT_EQ(devices->Get(0)->serial, 3);
}

TEST_F(TransactionTest, OnlyOneTransactionIsOpenAtATime) {
    EXPECT_FALSE(db_.Database.CommitTransaction());
    EXPECT_FALSE(db_.Database.RollbackTransaction());
    ASSERT_TRUE(db_.Database.BeginTransaction());
    EXPECT_FALSE(db_.Database.BeginTransaction());
    EXPECT_TRUE(db_.Database.CommitTransaction());
}

TEST_F(TransactionTest, AFailedInsertInsideATransactionKeepsTheOthers) {
    ASSERT_TRUE(db_.Database.BeginTransaction());
    EXPECT_GT(AddDevice(db_.DeviceHeatModel, 1), 0);
    EXPECT_EQ(AddDevice(db_.DeviceHeatModel, 1), 0);
    EXPECT_GT(AddDevice(db_.DeviceHeatModel, 2), 0);
    ASSERT_TRUE(db_.Database.CommitTransaction());
    EXPECT_EQ(db_.DeviceHeatModel.GetDevices()->Count(), 2);
}

}  // namespace
