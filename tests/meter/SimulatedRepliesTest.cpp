#include <gtest/gtest.h>

#include "meter/MeterCodes.h"
#include "meter/Telegram.h"
#include "serial/Frame.h"
#include "serial/HexPackage.h"
#include "tools/simulator/MeterReplies.h"
#include "tools/simulator/MeterSpec.h"

namespace {
CSimMeter Meter(const char* description) {
    CSimMeter meter;
    std::string error;
    EXPECT_TRUE(ParseMeterSpec(description, meter, error)) << error;
    return meter;
}

std::vector<std::uint8_t> Data(const CDataPackage& frame) {
    const std::size_t length = frame.At(kFrameLengthIndex);
    return {frame.Bytes().begin() + kFrameDataIndex,
            frame.Bytes().begin() + static_cast<std::ptrdiff_t>(kFrameDataIndex + length)};
}

// As the receive hands a reply over: with its last byte repeated.
CDataPackage Received(CDataPackage line) {
    line.Add(line.At(line.Size() - 1));
    return line;
}

// A clock time for replies whose clock does not matter; a real one, or no reading is made.
const std::tm kAnyTime = [] {
    std::tm time{};
    time.tm_year = 2025 - 1900;
    time.tm_mday = 1;
    return time;
}();
}  // namespace

TEST(SimulatedReplies, AHeatMeterSendsTheWorkedReplysData) {
    const CDataPackage reply = BuildMeterReply(
        Meter("heat:12345678,q_cooling=1234.56,q=250,v=1234.5,t1=21.50,t2=18.05,hours=1234,"
              "clock=2025-01-31T14:05"),
        kAnyTime);
    EXPECT_EQ(Data(reply), Data(HexPackage(kWorkedHeatReply)));
    EXPECT_TRUE(FrameEndingAt(reply.Bytes()));
    const CDataPackage received = Received(reply);
    CTelegram telegram(received);
    ASSERT_EQ(telegram.Decode(), TelegramOk);
    EXPECT_EQ(telegram.HeatData()->serial, 12345678);
    EXPECT_EQ(telegram.HeatData()->date, "2025-01-31 14:05");
}

TEST(SimulatedReplies, AWaterMeterSendsTheWorkedReplysData) {
    const CDataPackage reply = BuildMeterReply(
        Meter("water:12345678,v=12.345,v_flow=0.1,bat=3.61,minutes=300,clock=2024-06-15T12:30:07"),
        kAnyTime);
    EXPECT_EQ(Data(reply), Data(HexPackage(kWorkedWaterReply)));
    EXPECT_EQ(reply.Size(), 46u);
}

TEST(SimulatedReplies, TheClockFollowsTheLocalTimeUnlessFixed) {
    std::tm now{};
    now.tm_year = 2026 - 1900;
    now.tm_mon = 11;
    now.tm_mday = 8;
    now.tm_hour = 9;
    now.tm_min = 7;
    now.tm_sec = 5;
    const CDataPackage received = Received(BuildMeterReply(Meter("water:5"), now));
    CTelegram telegram(received);
    ASSERT_EQ(telegram.Decode(), TelegramOk);
    EXPECT_EQ(telegram.WaterData()->date, "2026-12-08 09:07:05");
    EXPECT_EQ(telegram.WaterData()->serial, 5);
}

TEST(SimulatedReplies, MisbehavingMetersSpoilTheirRepliesAsAsked) {
    const CDataPackage other = Received(BuildMeterReply(Meter("heat:1,as=80000001"), kAnyTime));
    CTelegram otherTelegram(other);
    ASSERT_EQ(otherTelegram.Decode(), TelegramOk);
    EXPECT_EQ(otherTelegram.HeatData()->serial, 80000001);

    const CDataPackage bad = Received(BuildMeterReply(Meter("heat:1,bad-checksum"), kAnyTime));
    EXPECT_EQ(CheckFrame(bad), TelegramBadChecksum);

    const CDataPackage trailing = BuildMeterReply(Meter("water:1,trailing=3"), kAnyTime);
    EXPECT_EQ(trailing.Size(), 46u + 3);
    EXPECT_EQ(CheckFrame(Received(trailing)), TelegramBadChecksum) << "the checksum is looked for third from the end";

    for (const char* meterLine : {"water:7,preamble=0", "water:7,preamble=13,noise=9"}) {
        const CDataPackage received = Received(BuildMeterReply(Meter(meterLine), kAnyTime));
        CTelegram telegram(received);
        ASSERT_EQ(telegram.Decode(), TelegramOk) << meterLine;
        EXPECT_EQ(telegram.WaterData()->serial, 7) << meterLine;
    }
    const CDataPackage noisy = BuildMeterReply(Meter("water:7,preamble=2,noise=9"), kAnyTime);
    EXPECT_EQ(noisy.Size(), 9u + 2 + 43);
    EXPECT_EQ(noisy.At(2), kFrameStart) << "the noise holds a stray start character";

    const CDataPackage reply = BuildMeterReply(Meter("heat:1"), kAnyTime);
    CEndlessLine again(Meter("heat:1,endless=reply"), reply);
    CEndlessLine stuck(Meter("heat:1,endless=68"), reply);
    for (std::size_t i = 0; i < 2 * reply.Size(); ++i) {
        EXPECT_EQ(again.Next(), reply.At(i % reply.Size()));
        EXPECT_EQ(stuck.Next(), 0x68);
    }
}

TEST(SimulatedReplies, RequestsAreFoundAmongOtherBytes) {
    const CDataPackage request = HexPackage(kWorkedRequest);
    std::vector<std::uint8_t> input = request.Bytes();
    input.insert(input.begin(), {0x68, 0x01, 0x02});  // a stray start character first
    CRequestScan scan = ScanForReadRequest(input);
    ASSERT_TRUE(scan.found);
    EXPECT_EQ(scan.serial, 12345678u);
    EXPECT_EQ(scan.meterCode, MeterCodeHeat);
    EXPECT_EQ(scan.consumed, input.size());

    // Half a request is kept for the rest to come.
    const std::vector<std::uint8_t> half(request.Bytes().begin(), request.Bytes().begin() + 10);
    scan = ScanForReadRequest(half);
    EXPECT_FALSE(scan.found);
    EXPECT_EQ(scan.consumed, 3u) << "only the preamble goes";

    std::vector<std::uint8_t> spoilt = request.Bytes();
    spoilt[17] ^= 1;
    scan = ScanForReadRequest(spoilt);
    EXPECT_FALSE(scan.found);
    EXPECT_EQ(scan.consumed, spoilt.size());
}

TEST(SimulatedReplies, MeterSpecsSayWhatTheyMean) {
    const CSimMeter heat =
        Meter("heat:80000001,q=12.5,silent,late=150,trailing=2,clock=now,endless=noise");
    EXPECT_EQ(heat.serial, 80000001u);
    EXPECT_EQ(heat.family, SimFamily::Heat);
    EXPECT_EQ(heat.q, "12.5");
    EXPECT_TRUE(heat.silent);
    EXPECT_EQ(heat.lateMs, 150u);
    EXPECT_EQ(heat.trailingBytes, 2u);
    EXPECT_TRUE(heat.clock.now);
    EXPECT_EQ(heat.endless, SimEndless::Noise);

    CSimMeter meter;
    std::string error;
    for (const char* wrong :
         {"gas:1", "heat:", "heat:100000000", "heat:1,bat=3.6", "water:1,q=2", "water:1,v=1,2",
          "heat:1,clock=2025-01-31", "heat:1,clock=2025-13-01T00:00", "heat:1,late=soon",
          "heat:1,loud", "heat:1,endless=6", "heat:1,endless=zz", "heat:1,preamble=1001"}) {
        EXPECT_FALSE(ParseMeterSpec(wrong, meter, error)) << wrong;
        EXPECT_FALSE(error.empty());
    }

    std::vector<CSimMeter> meters;
    ASSERT_TRUE(ParseMeterList("# demo\r\n\r\n heat:1 \nwater:2,v=3.5\n", meters, error)) << error;
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[1].volume, "3.5");
    EXPECT_FALSE(ParseMeterList("heat:1\nnonsense\n", meters, error));
    EXPECT_FALSE(DemoMeters().empty());
}
