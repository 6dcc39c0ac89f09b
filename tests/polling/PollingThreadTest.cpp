#include <chrono>
#include <thread>

#include "polling/PollingFixture.h"
#include "serial/Frame.h"
#include "serial/HexPackage.h"
#include "serial/MemoryChannel.h"

TEST_F(PollingTest, AHeatWalkShowsAndStoresEachReadingWithDtByPosition) {
    const int bid = db_.ObjectModel.InsertObject(CDataObject());
    CDataSubscriber apartment;
    apartment.bid = bid;
    apartment.no = "17";
    const int aid = db_.SubscriberModel.InsertSubscriber(apartment);
    const int supply = AddMeter(PollKindHeat, 11111111, 0, aid);
    const int back = AddMeter(PollKindHeat, 22222222, 1);
    StartSimulator({HeatMeter(11111111), HeatMeter(22222222)});

    EXPECT_EQ(PollKind(PollKindHeat),
              "11111111\t17\t2025-01-31 "
              "14:05\t000000.00\t000250.00\t0012.3456\t21.50\t18.05\t3.45\t1234\tOK\n"
              "22222222\t\t2025-01-31 "
              "14:05\t000000.00\t000250.00\t0012.3456\t21.50\t18.05\t-3.45\t1234\tOK\n");
    const auto first = db_.DeviceHeatModel.GetReadings(supply, "", "");
    const auto second = db_.DeviceHeatModel.GetReadings(back, "", "");
    ASSERT_EQ(first->Count(), 1);
    ASSERT_EQ(second->Count(), 1);
    EXPECT_EQ(first->Get(0)->dt, "3.45");
    EXPECT_EQ(second->Get(0)->dt, "-3.45");
    EXPECT_EQ(first->Get(0)->date, "2025-01-31 14:05");
}

TEST_F(PollingTest, AnAnswerFromAnotherSerialOrNoneShowsErrorAndStoresNothing) {
    const int impostor = AddMeter(PollKindHeat, 33333333);
    const int silent = AddMeter(PollKindHeat, 44444444);
    const int broken = AddMeter(PollKindHeat, 55555555);
    CSimMeter answersAsOther = HeatMeter(33333333);
    answersAsOther.answerAs = 33333334;
    CSimMeter quiet = HeatMeter(44444444);
    quiet.silent = true;
    CSimMeter badChecksum = HeatMeter(55555555);
    badChecksum.badChecksum = true;
    StartSimulator({answersAsOther, quiet, badChecksum});

    EXPECT_EQ(PollKind(PollKindHeat),
              "33333333\t\t\t\t\t\t\t\t\t\tОшибка\n"
              "44444444\t\t\t\t\t\t\t\t\t\tОшибка\n"
              "55555555\t\t\t\t\t\t\t\t\t\tОшибка\n");
    EXPECT_EQ(HeatReadingsOf(impostor), 0);
    EXPECT_EQ(HeatReadingsOf(silent), 0);
    EXPECT_EQ(HeatReadingsOf(broken), 0);
}

TEST_F(PollingTest, ASecondPollInTheSameMeterMinuteShowsOkButStoresNothingNew) {
    const int devid = AddMeter(PollKindHeat, 12345678);
    StartSimulator({HeatMeter(12345678)});
    PollKind(PollKindHeat);
    const std::string second = PollKind(PollKindHeat);
    EXPECT_NE(second.find("\tOK\n"), std::string::npos) << second;
    EXPECT_EQ(HeatReadingsOf(devid), 1);
}

TEST_F(PollingTest, AReadingThatCannotBeStoredShowsErrorNotOkAndIsCountedWithItsReason) {
    const int devid = AddMeter(PollKindHeat, 12345678);
    StartSimulator({HeatMeter(12345678)});
    ASSERT_TRUE(db_.Database.Execute("PRAGMA query_only = 1"));  // as a read-only local.db
    CTextPollingScreen screen(db_, PollKindHeat, false, 0, "");
    RunPoll(screen);
    EXPECT_EQ(screen.Output(), "12345678\t\t\t\t\t\t\t\t\t\tОшибка\n");
    EXPECT_EQ(
        PollFailureLines(screen.Failures()),
        std::vector<std::string>{
            "1 reading could not be stored in local.db: attempt to write a readonly database"});
    ASSERT_TRUE(db_.Database.Execute("PRAGMA query_only = 0"));
    EXPECT_EQ(HeatReadingsOf(devid), 0);
    PollKind(PollKindHeat);
    ASSERT_EQ(HeatReadingsOf(devid), 1);
    // Stored before: as good as stored, and no failure.
    CTextPollingScreen again(db_, PollKindHeat, false, 0, "");
    RunPoll(again);
    EXPECT_FALSE(again.Failures().Any());
}

TEST_F(PollingTest, HotWaterReadingsGoToTheHotTableOnly) {
    AddMeter(PollKindWaterCold, 87654321);  // the same devid 1 in the cold table
    const int hot = AddMeter(PollKindWaterHot, 87654321);
    StartSimulator({WaterMeter(87654321)});

    EXPECT_EQ(PollKind(PollKindWaterHot),
              "87654321\t\t2025-02-01 08:30:15\t0012.345\t0000.000\t3.61\t777\t0000.000\tOK\n");
    EXPECT_EQ(db_.DeviceWaterHotModel.GetReadings(hot, "", "")->Count(), 1);
    EXPECT_EQ(db_.DeviceWaterColdModel.GetReadings(hot, "", "")->Count(), 0);
}

TEST_F(PollingTest, AnEmptyListSendsNothingAndEndsAtOnce) {
    StartSimulator({HeatMeter(12345678)});
    EXPECT_EQ(PollKind(PollKindWaterCold), "");
    EXPECT_TRUE(simulator_->Requests().empty());
}

// A screen whose stored-meters tab switches to cold water while the heat walk runs.
class SwitchingScreen : public CTextPollingScreen {
public:
    using CTextPollingScreen::CTextPollingScreen;
    int SavedKindTab() override { return reads_++ == 0 ? PollKindHeat : PollKindWaterCold; }

private:
    int reads_ = 0;
};

TEST_F(PollingTest, ATabSwitchedDuringAWalkAddsThatKindsWalk) {
    AddMeter(PollKindHeat, 12345678);
    const int cold = AddMeter(PollKindWaterCold, 87654321);
    StartSimulator({HeatMeter(12345678), WaterMeter(87654321)});
    SwitchingScreen screen(db_, PollKindHeat, false, 0, "");
    RunPoll(screen);
    EXPECT_EQ(simulator_->Requests().size(), 2u);
    EXPECT_EQ(db_.DeviceWaterColdModel.GetReadings(cold, "", "")->Count(), 1);
}

TEST_F(PollingTest, StopDuringASilentMeterEndsTheRunAtOnceAndLeavesItsRowAsItWas) {
    for (unsigned serial = 10000001; serial <= 10000003; ++serial)
        AddMeter(PollKindHeat, static_cast<int>(serial));
    CSimMeter quiet = HeatMeter(10000001);
    quiet.silent = true;
    StartSimulator({quiet}, {}, false);
    CProcessComPort link(simulator_->PortPath().c_str(), 9600);  // the operator's 9 s silence
    CTextPollingScreen screen(db_, PollKindHeat, false, 0, "");
    auto thread = TThread::StartThread<ThreadLoraDevicePolling>(link, db_, screen);
    while (simulator_->Requests().empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    const auto stop = std::chrono::steady_clock::now();
    thread.reset();  // terminate and wait, as Stop does
    // The wait for bytes wakes at once; the figure itself is vevo_serial_bench's to measure.
    EXPECT_LT(std::chrono::steady_clock::now() - stop, std::chrono::seconds(1));
    EXPECT_EQ(simulator_->Requests().size(), 1u);
    EXPECT_EQ(screen.Output().substr(0, screen.Output().find('\n')), "10000001\t\t\t\t\t\t\t\t\t\t")
        << "the abandoned exchange shows nothing";

    // The next run on the same link is not stopped by the last one's stop.
    thread = TThread::StartThread<ThreadLoraDevicePolling>(link, db_, screen);
    while (simulator_->Requests().size() < 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(thread->Finished());
}

TEST_F(PollingTest, ALateReplyOfOneMeterDoesNotSpoilTheNextMetersRow) {
    AddMeter(PollKindHeat, 11111111);
    const int next = AddMeter(PollKindHeat, 22222222);
    // The first answers after its exchange has ended, during the second's, which answers later.
    CSimMeter late = HeatMeter(11111111);
    late.lateMs = kSilenceMs + 100;
    CSimMeter slow = HeatMeter(22222222);
    slow.lateMs = kSilenceMs;
    StartSimulator({late, slow});
    WriteFile("console.log", "");

    const std::string rows = PollKind(PollKindHeat);
    EXPECT_EQ(rows.substr(0, rows.find('\n')), "11111111\t\t\t\t\t\t\t\t\t\tОшибка");
    EXPECT_NE(rows.find("22222222\t\t2025-01-31 14:05\t"), std::string::npos) << rows;
    EXPECT_EQ(HeatReadingsOf(next), 1);
    EXPECT_NE(ReadFile("console.log").find(" not asked: FE FE FE 68 20 11 11 11 11 "),
              std::string::npos);
}

TEST_F(PollingTest, AReplyWithAFieldThatIsNoNumberShowsErrorStoresNothingAndSaysWhy) {
    const int devid = AddMeter(PollKindHeat, 12345678);
    // The worked reply with t1 = 2C 50, which would read "2C.50".
    CDataPackage spoilt = WithoutLast(HexPackage(kWorkedHeatReply), 3);
    CDataPackage line;
    for (std::size_t i = 0; i < spoilt.Size(); ++i) line.Add(i == 43 ? 0x2C : spoilt.At(i));
    AppendChecksum(line);
    line.Add(kFrameEnd);
    auto memory = std::make_shared<CMemoryLine>();
    memory->Answer({{line}});
    link_ = std::make_unique<CProcessComPort>(std::make_unique<CMemoryChannel>(memory), 9600);

    EXPECT_EQ(PollKind(PollKindHeat), "12345678\t\t\t\t\t\t\t\t\t\tОшибка\n");
    EXPECT_EQ(HeatReadingsOf(devid), 0);
    const std::string log = ReadFile("console.log");
    EXPECT_NE(log.find("\nReply of 12345678 not taken: t1 (2C 50) is not a number;\n"),
              std::string::npos)
        << log;
}

TEST_F(PollingTest, AReadByNumberFillsTheTableOfTheRepliesTypeAndStoresNothing) {
    const int devid = AddMeter(PollKindHeat, 12345678);
    StartSimulator({HeatMeter(12345678), WaterMeter(87654321)});

    CTextPollingScreen heat(db_, PollKindHeat, true, 0, "12345678xyz");
    RunPoll(heat);
    EXPECT_EQ(heat.Output(),
              "Date/Time\t2025-01-31 14:05\nQ cooling, kWh\t000000.00\nQ, kWh\t000250.00\nV, "
              "m3\t0012.3456\n"
              "T1, °C\t21.50\nT2, °C\t18.05\nRun time, h\t1234\n");
    EXPECT_EQ(HeatReadingsOf(devid), 0);

    CTextPollingScreen water(db_, PollKindHeat, true, 1, "87654321");
    RunPoll(water);
    EXPECT_EQ(water.Output(),
              "Date/Time\t2025-02-01 08:30:15\nV, m3\t0012.345\nV Flow, m3/h\t0000.000\nBattery, "
              "v\t3.61\n"
              "Run time (minute)\t777\nReserve volume\t0000.000\n");

    CTextPollingScreen nobody(db_, PollKindHeat, true, 1, "");
    RunPoll(nobody);
    EXPECT_EQ(nobody.Output(),
              "Date/Time\t\nV, m3\t\nV Flow, m3/h\t\nBattery, v\t\nRun time (minute)\t\nReserve "
              "volume\t\n");
}
