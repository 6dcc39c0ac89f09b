#include <gtest/gtest.h>

#include "serial/HexPackage.h"
#include "serial/LinkExchange.h"
#include "serial/PlayedLine.h"

using namespace link_test;

// The serial port against the meter simulator, on every platform: on Windows a COM port under
// Wine with the simulator in a process of its own, on POSIX a pseudo-terminal.
using PlayedPort = LinkTest;

TEST_F(PlayedPort, TheWorkedRepliesComeWholeUnderBothRules) {
    const CPlayedLine line("worked");
    for (bool endOnFrame : {true, false}) {
        CProcessComPort port(line.Port().c_str(), kSpeed, Rule(endOnFrame));
        const CExchange heat = Exchange(port, 12345678);
        ASSERT_EQ(heat.reply.Size(), 62u + 1) << "end on frame " << endOnFrame;
        EXPECT_EQ(heat.reply.At(62), heat.reply.At(61));
        EXPECT_EQ(heat.check, TelegramOk);
        EXPECT_EQ(heat.serial, 12345678);
        const CExchange water = Exchange(port, 87654321, MeterCodeWater);
        EXPECT_EQ(water.reply.Size(), 46u + 1);
        EXPECT_EQ(water.check, TelegramOk);
        EXPECT_EQ(water.serial, 87654321);
    }
    EXPECT_TRUE(asked.empty());
}

TEST_F(PlayedPort, ASilentMeterGivesExactlyOneZeroByteAfterTheSilence) {
    const CPlayedLine line("worked");
    CProcessComPort port(line.Port().c_str(), kSpeed, Rule(true));
    const CExchange exchange = Exchange(port, 5);
    EXPECT_EQ(exchange.reply.Bytes(), std::vector<std::uint8_t>{0});
    EXPECT_EQ(exchange.check, TelegramBadChecksum);
    EXPECT_GE(exchange.ms, kSilenceMs + kReadInterval);
    EXPECT_EQ(exchange.serial, -1);
    EXPECT_EQ(Exchange(port, 12345678).check, TelegramOk) << "the port is still open";
}

TEST_F(PlayedPort, APortInUseGivesTheOpenMessageAndThenTheLostOne) {
    const CPlayedLine line("worked");
    CProcessComPort first(line.Port().c_str(), kSpeed, Rule(true));
    ASSERT_TRUE(first.IsOpen());
    CProcessComPort second(line.Port().c_str(), kSpeed, Rule(true));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}}));

    second.SendPackage(*CLongFrame().BuildReadRequest(12345678, MeterCodeHeat));
    CDataPackage untouched = HexPackage("AB CD");
    second.ReceivePackage(untouched);
    EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}, {0, kLost}, {0, kLost}}));
    EXPECT_EQ(untouched.Bytes(), HexPackage("AB CD").Bytes());
    EXPECT_EQ(Exchange(first, 12345678).check, TelegramOk) << "the first holder is undisturbed";
}

TEST_F(PlayedPort, ALostPortClosesAndTheNextExchangeSaysSo) {
    const CPlayedLine line("hang-up");
    CProcessComPort port(line.Port().c_str(), kSpeed, Rule(true));
    ASSERT_TRUE(port.IsOpen());
    port.SendPackage(*CLongFrame().BuildReadRequest(1, MeterCodeHeat));
    CDataPackage reply("Read");
    const Clock::time_point start = Clock::now();
    port.ReceivePackage(reply);
    EXPECT_LT(MsSince(start), kSilenceMs) << "a hang-up is not waited out";
    EXPECT_EQ(reply.Size(), 1u);
    EXPECT_FALSE(port.IsOpen());
    port.SendPackage(*CLongFrame().BuildReadRequest(1, MeterCodeHeat));
    EXPECT_EQ(asked, (std::vector<CAsked>{{0, kLost}}));
}
