#include <algorithm>

#include "serial/Frame.h"
#include "serial/HexPackage.h"
#include "serial/LinkFixture.h"
#include "serial/MemoryChannel.h"
#include "serial/ReplyAssembler.h"
#include "serial/ReplyReceive.h"
#include "tools/simulator/MeterReplies.h"

using namespace link_test;

namespace {
constexpr unsigned kSilenceWait = kReadInterval + kSilenceMs;

// The worked replies as they come off the line, without the repeated end character.
const CDataPackage kHeatLine = WithoutLast(HexPackage(kWorkedHeatReply), 1);
const CDataPackage kWaterLine = WithoutLast(HexPackage(kWorkedWaterReply), 1);

std::size_t CountOf(const std::vector<unsigned>& waits, unsigned wait) {
    return static_cast<std::size_t>(std::count(waits.begin(), waits.end(), wait));
}
}  // namespace

// How a reply ends and what the caller gets, over a link without a line.
class ReplyReceive : public SerialLink {
protected:
    std::unique_ptr<CProcessComPort> Connect(const CLinkSettings& settings,
                                             unsigned speed = kSpeed) {
        return std::make_unique<CProcessComPort>(std::make_unique<CMemoryChannel>(line), speed,
                                                 settings);
    }

    std::shared_ptr<CMemoryLine> line = std::make_shared<CMemoryLine>();
};

TEST_F(ReplyReceive, BytesAfterACompleteFrameAreReadOffWithinReadIntervalsAndDropped) {
    for (const char* extra : {"AA", "AA BB CC"}) {
        for (unsigned quietMs : {0u, 5u}) {
            line = std::make_shared<CMemoryLine>();
            line->Answer({{kHeatLine}, {HexPackage(extra), quietMs}});
            line->Answer({{kWaterLine}});
            const auto port = Connect(Rule(true));
            WriteFile("console.log", "");
            const std::string what = std::string(extra) + " after " + std::to_string(quietMs);

            const CExchange heat = Exchange(*port, 12345678);
            EXPECT_EQ(heat.reply.Bytes(), HexPackage(kWorkedHeatReply).Bytes()) << what;
            EXPECT_EQ(heat.check, TelegramOk) << what;
            const std::size_t extras = HexPackage(extra).Size();
            EXPECT_EQ(line->waits.size(), kHeatLine.Size() + extras + 1) << what;
            EXPECT_EQ(CountOf(line->waits, kReadInterval), extras + 1)
                << what << ": after the frame only a read interval of quiet is waited for";

            const CExchange water = Exchange(*port, 12345678, MeterCodeWater);
            EXPECT_EQ(water.reply.Bytes(), HexPackage(kWorkedWaterReply).Bytes()) << what;
            EXPECT_EQ(ReadFile("console.log"),
                      LogOf(heat.reply) + " dropped: " + extra + " " + LogOf(water.reply))
                << what;
        }
    }
}

TEST_F(ReplyReceive, BytesAfterTheReadIntervalAreLeftForThePurge) {
    line->Answer({{kHeatLine}, {HexPackage("AA BB"), kReadInterval + 1}});
    line->Answer({{kHeatLine}});
    const auto port = Connect(Rule(true));
    EXPECT_EQ(Exchange(*port, 12345678).reply.Bytes(), HexPackage(kWorkedHeatReply).Bytes());
    EXPECT_EQ(line->coming.size(), 2u);
    EXPECT_EQ(Exchange(*port, 12345678).reply.Bytes(), HexPackage(kWorkedHeatReply).Bytes());
    EXPECT_EQ(ReadFile("console.log").find("dropped"), std::string::npos);
}

TEST_F(ReplyReceive, WithThePureSilenceRuleEveryByteIsKept) {
    line->Answer({{kHeatLine}, {HexPackage("AA BB CC"), 5}});
    const auto port = Connect(Rule(false));
    const CExchange heat = Exchange(*port, 12345678);
    EXPECT_EQ(heat.reply.Size(), kHeatLine.Size() + 3 + 1);
    EXPECT_EQ(heat.reply.At(heat.reply.Size() - 1), 0xCC);
    EXPECT_NE(heat.check, TelegramOk);
    EXPECT_EQ(CountOf(line->waits, kSilenceWait), line->waits.size());
}

TEST_F(ReplyReceive, AFrameWithAWrongChecksumFollowedByBytesStillFails) {
    CDataPackage wrong;
    for (std::size_t i = 0; i < kHeatLine.Size(); ++i) {
        const bool checksum = i == kHeatLine.Size() - 2;
        wrong.Add(static_cast<std::uint8_t>(kHeatLine.At(i) + (checksum ? 1 : 0)));
    }
    line->Answer({{wrong}, {HexPackage("AA")}});
    const auto port = Connect(Rule(true));
    const CExchange heat = Exchange(*port, 12345678);
    EXPECT_EQ(heat.reply.Size(), kHeatLine.Size() + 1 + 1) << "every byte is kept";
    EXPECT_EQ(heat.check, TelegramBadChecksum);
    EXPECT_EQ(CountOf(line->waits, kSilenceWait), line->waits.size()) << "the silence ends it";
}

TEST_F(ReplyReceive, TheReadIntervalFollowsTheSpeed) {
    const std::pair<unsigned, unsigned> intervals[] = {{300, 140}, {110, 140}, {1200, 57},
                                                       {2400, 43}, {9600, 33}, {38400, 30}};
    for (auto [speed, interval] : intervals) {
        line = std::make_shared<CMemoryLine>();
        line->Answer({{kHeatLine}});
        const auto port = Connect(Rule(true), speed);
        EXPECT_EQ(Exchange(*port, 12345678).check, TelegramOk);
        EXPECT_EQ(line->waits.front(), interval + kSilenceMs) << speed;
        EXPECT_EQ(line->waits.back(), interval) << speed;
    }
}

TEST_F(ReplyReceive, ALostLineClosesTheLinkAndRetryReopensItWithoutSending) {
    line->Answer({{kHeatLine}});
    const auto port = Connect(Rule(true));
    port->SendPackage(*CLongFrame().BuildReadRequest(12345678, MeterCodeHeat));
    line->lost = true;
    CDataPackage reply("Read");
    port->ReceivePackage(reply);
    EXPECT_EQ(reply.Bytes(), std::vector<std::uint8_t>{0});
    EXPECT_FALSE(port->IsOpen());

    line->lost = false;
    retries = 1;
    const std::size_t written = line->written.size();
    port->SendPackage(*CLongFrame().BuildReadRequest(12345678, MeterCodeHeat));
    EXPECT_EQ(asked, (std::vector<CAsked>{{0, kLost}}));
    EXPECT_TRUE(port->IsOpen());
    EXPECT_EQ(line->opens, 2);
    EXPECT_EQ(line->written.size(), written) << "the request that found the link gone is not sent";
    line->Answer({{kHeatLine}});
    EXPECT_EQ(Exchange(*port, 12345678).check, TelegramOk);
}

namespace {
// A reply of another meter, as a late reply to an earlier request or a neighbour would send it.
const CDataPackage kOtherLine = BuildMeterReply(Meter("heat:87654321"), [] {
    std::tm time{};
    time.tm_year = 2025 - 1900;
    time.tm_mday = 1;
    return time;
}());

CDataPackage Repeated(const CDataPackage& bytes, std::size_t count) {
    CDataPackage repeated;
    for (std::size_t i = 0; i < count; ++i) repeated.Add(bytes.At(i % bytes.Size()));
    return repeated;
}
}  // namespace

TEST_F(ReplyReceive, AnotherMetersFrameIsDroppedAndTheReplyRuleGoesOnAsIfItHadNotCome) {
    for (bool endOnFrame : {true, false}) {
        line = std::make_shared<CMemoryLine>();
        line->Answer({{kOtherLine}, {kHeatLine, 20}});
        line->Answer({{kOtherLine}});
        const auto port = Connect(Rule(endOnFrame));
        WriteFile("console.log", "");

        const CExchange heat = Exchange(*port, 12345678);
        EXPECT_EQ(heat.reply.Bytes(), HexPackage(kWorkedHeatReply).Bytes()) << endOnFrame;
        EXPECT_EQ(ReadFile("console.log").rfind(" not asked: FE FE FE 68 20 21 43 65 87 ", 0), 0u)
            << ReadFile("console.log");
        // Only another meter answering: as silent as a meter that does not answer.
        line->waits.clear();
        const CExchange other = Exchange(*port, 12345678);
        EXPECT_EQ(other.reply.Bytes(), std::vector<std::uint8_t>{0});
        EXPECT_EQ(other.check, TelegramBadChecksum);
        EXPECT_EQ(line->waits.back(), kSilenceWait) << "the silence ends it";
    }
}

TEST_F(ReplyReceive, ALineThatNeverFallsSilentEndsTheReplyAtTheByteBound) {
    for (bool endOnFrame : {true, false}) {
        for (const CDataPackage& babble : {HexPackage("68"), HexPackage("68 16 FE 00 68")}) {
            line = std::make_shared<CMemoryLine>();
            line->Answer({{Repeated(babble, 2000)}});
            const auto port = Connect(Rule(endOnFrame));
            WriteFile("console.log", "");
            const CExchange exchange = Exchange(*port, 12345678);
            EXPECT_EQ(exchange.reply.Size(), kMaxReplyBytes + 1);
            EXPECT_NE(exchange.check, TelegramOk);
            const std::string log = ReadFile("console.log");
            EXPECT_LE(log.size(), 1024u + 4) << "the log of one exchange is capped";
            EXPECT_EQ(log.substr(log.size() - 4), " …");
        }
    }
    // After a whole frame, what follows is read off up to the bound and the rest left to the
    // purge.
    line = std::make_shared<CMemoryLine>();
    line->Answer({{kHeatLine}, {Repeated(HexPackage("AA"), 2000)}});
    const auto port = Connect(Rule(true));
    EXPECT_EQ(Exchange(*port, 12345678).check, TelegramOk);
    EXPECT_EQ(line->coming.size(), 2000 - kMaxReplyBytes);
}

TEST_F(ReplyReceive, AStopRequestAbandonsTheExchangeUntilTheLinkIsResumed) {
    line->Answer({{kHeatLine}});
    line->Answer({{kHeatLine}});
    const auto port = Connect(Rule(true));
    WriteFile("console.log", "");
    port->Interrupt();
    const CExchange stopped = Exchange(*port, 12345678);
    EXPECT_EQ(stopped.reply.Bytes(), std::vector<std::uint8_t>{0}) << "nothing half-read";
    EXPECT_EQ(ReadFile("console.log"), " stopped ");
    EXPECT_TRUE(port->IsOpen());
    port->Resume();
    EXPECT_EQ(Exchange(*port, 12345678).check, TelegramOk);
}
