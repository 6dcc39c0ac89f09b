#include <gtest/gtest.h>

#include "app/ProgramInfo.h"
#include "support/FakeService.h"
#include "support/TempWorkDir.h"
#include "update/VersionCheck.h"

namespace {
struct CCheck {
    CTempWorkDir dir;
    CProgramInfo info;
    CFakeService fake;
    CVersionCheck Run(std::chrono::milliseconds deadline = std::chrono::milliseconds(3000)) {
        return CheckPublishedVersions(CRemoteService(info, fake.Address()), deadline);
    }
};
}  // namespace

TEST(VersionCheck, OnlyTheNewestNewerVersionIsOfferedWithItsClient) {
    CCheck check;
    check.fake.identify = R"([{"id":"7","finger":"fp1"},{"id":"8","finger":"fp2"}])";
    check.fake.projectInfo = R"([{"project_version":"v.0.04"},{"project_version":"V.0.05"}])";
    EXPECT_EQ(check.Run().outcome, CheckOutcome::UpToDate) << "older and equal are not offered";

    check.fake.projectInfo =
        R"([{"project_version":"v.0.06"},{"project_version":"v.0.10"},{"project_version":"v.0.9"}])";
    const CVersionCheck result = check.Run();
    ASSERT_EQ(result.outcome, CheckOutcome::NewVersion);
    EXPECT_EQ(result.offer.version, "v.0.10");
    EXPECT_EQ(result.offer.clientId, "7") << "the first client that was offered it";
    EXPECT_EQ(result.offer.finger, "fp1");
    EXPECT_EQ(check.fake.gateway.Queries().at(1),
              "call dorn_main.get_project_info(7, 'fp1', 'tvx_veltara');");
}

TEST(VersionCheck, VersionsCompareByTheirNumbersAndWithoutNumbersAsTexts) {
    EXPECT_TRUE(IsNewerVersion("v.0.06", "v.0.05"));
    EXPECT_TRUE(IsNewerVersion("v.0.10", "v.0.06"));
    EXPECT_TRUE(IsNewerVersion("v.0.05.1", "v.0.05"));
    EXPECT_TRUE(IsNewerVersion("v.0.100000000000000000000001", "v.0.9"));
    EXPECT_FALSE(IsNewerVersion("v.0.5", "v.0.05")) << "leading zeros do not count";
    EXPECT_FALSE(IsNewerVersion("v.0.04", "v.0.05"));
    EXPECT_FALSE(IsNewerVersion("V.0.05", "v.0.05"));
    EXPECT_TRUE(IsNewerVersion("beta", "v.0.05")) << "no numbers: any other text";
    EXPECT_FALSE(IsNewerVersion("BETA", "beta"));
}

TEST(VersionCheck, AnythingButAListOfVersionsIsNoAnswer) {
    CCheck check;
    check.fake.identify = R"({"id":"7","finger":"fp1"})";
    CVersionCheck result = check.Run();
    EXPECT_EQ(result.outcome, CheckOutcome::NoAnswer);
    EXPECT_EQ(result.reason, "reply is no list");
    check.fake.identify = R"([{"id":"7"}])";
    for (const char* info : {R"([{"project_version":""}])", R"([{"project_version":5}])", "[{}]",
                             "[", R"([{"project_version":"v.9"}] x)"}) {
        check.fake.projectInfo = info;
        result = check.Run();
        EXPECT_EQ(result.outcome, CheckOutcome::NoAnswer) << info;
    }
}

TEST(VersionCheck, ABlackHoledGatewayEndsTheCheckByItsDeadline) {
    CTempWorkDir dir;
    CProgramInfo info;
    CFakeGateway gateway([](const std::string&) { return CFakeGateway::Hang(); });
    const auto start = std::chrono::steady_clock::now();
    const CVersionCheck result = CheckPublishedVersions(
        CRemoteService(info, {"127.0.0.1", gateway.Port()}), std::chrono::milliseconds(300));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(result.outcome, CheckOutcome::NoAnswer);
    EXPECT_EQ(result.reason, "gateway did not answer in time");
}
