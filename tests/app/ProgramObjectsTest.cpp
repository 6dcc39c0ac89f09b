#include "app/ProgramObjects.h"

#include <gtest/gtest.h>

#include "app/ProgramInfo.h"
#include "support/TempWorkDir.h"

TEST(ProgramObjects, PublishTheirNamesWhileTheyLive) {
    CTempWorkDir dir;
    {
        CProgramObjects program;
        ASSERT_NE(DbController, nullptr);
        ASSERT_NE(IniFile, nullptr);
        EXPECT_TRUE(DbController->Database.TableExists("devices_heat"));
        EXPECT_TRUE(std::filesystem::exists("local.db"));
    }
    EXPECT_EQ(DbController, nullptr);
    EXPECT_EQ(IniFile, nullptr);
}

TEST(ProgramInfo, HoldsTheFixedConstants) {
    CProgramInfo info;
    EXPECT_STREQ(info.GetVersion(), "v.0.05");
    EXPECT_STREQ(info.GetPassword(), "Kp4!vT=}<,/e");
    EXPECT_STREQ(info.GetGatewayPath(), "/rest");
    EXPECT_EQ(info.GetProjectId(), 24);
    EXPECT_STREQ(info.GetProjectKey(), "tvx_veltara");
    EXPECT_STREQ(info.GetUserName(), "local_kestra");
    EXPECT_STREQ(info.GetDatabaseName(), "dorn_main");
}
