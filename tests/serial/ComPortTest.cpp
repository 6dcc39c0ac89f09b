#include "serial/ComPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "meter/LongFrame.h"
#include "meter/MeterCodes.h"
#include "meter/Telegram.h"
#include "serial/Frame.h"
#include "serial/HexPackage.h"
#include "serial/LinkErrors.h"
#include "serial/ProcessComPort.h"
#include "support/TempWorkDir.h"
#include "tools/simulator/MeterSimulator.h"
#include "tools/simulator/MeterSpec.h"

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Short enough for tests, long against the line at 9600 bit/s.
constexpr unsigned kSilenceMs = 250;
constexpr unsigned kSpeed = 9600;
constexpr unsigned kReadInterval = 33;
constexpr double kCharacterMs = 11000.0 / kSpeed;
constexpr double kRequestMs = 19 * kCharacterMs;
constexpr double kHeatReplyMs = 61 * kCharacterMs;  // from its first byte to its last
constexpr const char* kMissingPort = "/dev/ttyVEVO-missing";
constexpr const char* kCannotOpen = "Не удалось установить соединение";
constexpr const char* kLost = "Соединение было прервано.";

CSimMeter Meter(const char* description) {
    CSimMeter meter;
    std::string error;
    EXPECT_TRUE(ParseMeterSpec(description, meter, error)) << error;
    return meter;
}

struct CAsked {
    int kind;
    std::string text;
    bool operator==(const CAsked&) const = default;
};

struct CExchange {
    CDataPackage reply{"Read"};
    double ms = 0;
    int check = -1;
    int serial = -1;  // of the decoded reading
};

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string LogOf(const CDataPackage& package) {
    std::string text;
    char item[8];
    for (std::uint8_t byte : package.Bytes()) {
        std::snprintf(item, sizeof item, " %02X ", byte);
        text += item;
    }
    return text;
}
}  // namespace

class SerialLink : public ::testing::Test {
protected:
    void SetUp() override {
        SetLinkErrorHandler([this](int kind, const char* text) {
            asked.push_back({kind, text});
            if (retries == 0) return false;
            --retries;
            if (beforeRetry) beforeRetry();
            return true;
        });
    }
    void TearDown() override { SetLinkErrorHandler({}); }

    const char* Play(std::vector<CSimMeter> meters, CSimLine line = {}) {
        simulator = std::make_unique<CMeterSimulator>(std::move(meters), line);
        std::string error;
        EXPECT_TRUE(simulator->Start(error)) << error;
        return simulator->PortPath().c_str();
    }

    static CLinkSettings Rule(bool endOnFrame) { return {kSilenceMs, endOnFrame}; }

    static CExchange Exchange(CProcessComPort& port, unsigned serial, int code = MeterCodeHeat) {
        CExchange exchange;
        const Clock::time_point start = Clock::now();
        port.SendPackage(*CLongFrame().BuildReadRequest(serial, code));
        port.ReceivePackage(exchange.reply);
        exchange.ms = MsSince(start);
        CTelegram telegram(exchange.reply);
        exchange.check = telegram.Decode();
        if (telegram.HeatData() != nullptr) exchange.serial = telegram.HeatData()->serial;
        if (telegram.WaterData() != nullptr) exchange.serial = telegram.WaterData()->serial;
        return exchange;
    }

    bool WaitForRequests(std::size_t count) const {
        const Clock::time_point start = Clock::now();
        while (simulator->Requests().size() < count && MsSince(start) < 2000) {
            std::this_thread::sleep_for(5ms);
        }
        return simulator->Requests().size() == count;
    }

    CTempWorkDir dir;  // console.log goes here
    std::unique_ptr<CMeterSimulator> simulator;
    std::vector<CAsked> asked;
    int retries = 0;
    std::function<void()> beforeRetry;
};

TEST_F(SerialLink, TheWorkedRequestGoesOutAsItIs) {
    CProcessComPort port(Play({}), kSpeed, Rule(true));
    port.SendPackage(*CLongFrame().BuildReadRequest(12345678, MeterCodeHeat));
    ASSERT_TRUE(WaitForRequests(1));
    const CDataPackage expected = HexPackage(kWorkedRequest);
    EXPECT_EQ(simulator->Requests()[0].Bytes(),
              std::vector<std::uint8_t>(expected.Bytes().begin() + 3, expected.Bytes().end()));
    EXPECT_TRUE(asked.empty());
}

TEST_F(SerialLink, AReplyOfNBytesGivesNPlusOneUnderBothRules) {
    const char* path = Play({Meter("heat:12345678"), Meter("water:87654321")});
    for (bool endOnFrame : {true, false}) {
        CProcessComPort port(path, kSpeed, Rule(endOnFrame));
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
}

TEST_F(SerialLink, ACompleteFrameEndsTheReplyWhileThePureRuleWaitsForSilence) {
    const char* path = Play({Meter("heat:12345678")});
    CProcessComPort onFrame(path, kSpeed, Rule(true));
    const double frameMs = Exchange(onFrame, 12345678).ms;
    EXPECT_GE(frameMs, kRequestMs + kHeatReplyMs);
    EXPECT_LT(frameMs, kRequestMs + kHeatReplyMs + kSilenceMs);
}

TEST_F(SerialLink, ThePureSilenceRuleWaitsOutTheSilence) {
    CProcessComPort onSilence(Play({Meter("heat:12345678")}), kSpeed, Rule(false));
    EXPECT_GE(Exchange(onSilence, 12345678).ms,
              kRequestMs + kHeatReplyMs + kSilenceMs + kReadInterval);
}

TEST_F(SerialLink, ASilentMeterGivesExactlyOneZeroByte) {
    const char* path = Play({Meter("heat:1,silent")});
    for (bool endOnFrame : {true, false}) {
        CProcessComPort port(path, kSpeed, Rule(endOnFrame));
        const CExchange exchange = Exchange(port, 1);
        EXPECT_EQ(exchange.reply.Bytes(), std::vector<std::uint8_t>{0});
        EXPECT_EQ(exchange.check, TelegramBadChecksum);
        EXPECT_GE(exchange.ms, kSilenceMs + kReadInterval);
        EXPECT_EQ(exchange.serial, -1);
    }
}

TEST_F(SerialLink, EveryReceivedByteGoesToTheLog) {
    CProcessComPort port(Play({Meter("water:87654321")}), kSpeed, Rule(true));
    const CExchange water = Exchange(port, 87654321, MeterCodeWater);
    const CExchange nobody = Exchange(port, 5, MeterCodeWater);
    EXPECT_EQ(ReadFile("console.log"), LogOf(water.reply) + " 00 ");
    EXPECT_EQ(LogOf(water.reply).substr(0, 20), " FE  FE  FE  68  10 ");
}

TEST_F(SerialLink, RepliesInBurstsEndCorrectlyUnderBothRules) {
    CSimLine line;
    line.burstBytes = 16;
    line.burstGapMs = 60;  // gaps well inside the silence
    const char* path = Play({Meter("heat:12345678")}, line);
    const CExchange frame = [&] {
        CProcessComPort onFrame(path, kSpeed, Rule(true));
        return Exchange(onFrame, 12345678);
    }();
    EXPECT_EQ(frame.check, TelegramOk);
    EXPECT_EQ(frame.reply.Size(), 63u);
    const double onLineMs = kRequestMs + kHeatReplyMs + 3 * line.burstGapMs;
    EXPECT_GE(frame.ms, onLineMs) << "the gaps did not end the reply";
    EXPECT_LT(frame.ms, onLineMs + kSilenceMs);

    CProcessComPort onSilence(path, kSpeed, Rule(false));
    const CExchange silence = Exchange(onSilence, 12345678);
    EXPECT_EQ(silence.check, TelegramOk);
    EXPECT_EQ(silence.reply.Size(), 63u);
    EXPECT_GE(silence.ms, onLineMs + kSilenceMs + kReadInterval);
}

TEST_F(SerialLink, AGapLongerThanTheSilenceCutsTheReplyUnderBothRules) {
    CSimLine line;
    line.burstBytes = 20;
    line.burstGapMs = kSilenceMs + 200;
    const char* path = Play({Meter("heat:12345678")}, line);
    for (bool endOnFrame : {true, false}) {
        CProcessComPort port(path, kSpeed, Rule(endOnFrame));
        const CExchange exchange = Exchange(port, 12345678);
        EXPECT_EQ(exchange.reply.Size(), 21u);
        EXPECT_NE(exchange.check, TelegramOk);
        std::this_thread::sleep_for(std::chrono::milliseconds(3 * line.burstGapMs));
    }
}

TEST_F(SerialLink, LateBytesFromAnEarlierReplyArePurgedBeforeTheNextRequest) {
    constexpr unsigned kLateMs = kSilenceMs + kReadInterval + 150;
    const char* path = Play({Meter(("heat:1,late=" + std::to_string(kLateMs)).c_str()),
                             Meter("heat:2")});
    CProcessComPort port(path, kSpeed, Rule(true));
    const CExchange late = Exchange(port, 1);
    EXPECT_EQ(late.reply.Size(), 1u) << "the late reply missed its exchange";
    std::this_thread::sleep_for(std::chrono::milliseconds(kLateMs + 200) - 
                                std::chrono::milliseconds(static_cast<int>(late.ms)));
    const CExchange next = Exchange(port, 2);
    EXPECT_EQ(next.check, TelegramOk);
    EXPECT_EQ(next.serial, 2);
    EXPECT_EQ(next.reply.Size(), 63u);
}

TEST_F(SerialLink, TrailingBytesMakeTheReplyOneFrameNoMoreUnderBothRules) {
    const char* path = Play({Meter("heat:1,trailing=3"), Meter("heat:2")});
    for (bool endOnFrame : {true, false}) {
        CProcessComPort port(path, kSpeed, Rule(endOnFrame));
        const CExchange trailing = Exchange(port, 1);
        EXPECT_EQ(trailing.reply.Size(), 63u + 3) << "end on frame " << endOnFrame;
        EXPECT_NE(trailing.check, TelegramOk);
        EXPECT_GE(trailing.ms, kSilenceMs);
        const CExchange next = Exchange(port, 2);
        EXPECT_EQ(next.check, TelegramOk) << "nothing of the earlier reply is left";
    }
}

TEST_F(SerialLink, ABadChecksumOrAnotherSerialIsHandedOverAsItCame) {
    const char* path = Play({Meter("heat:1,bad-checksum"), Meter("water:2,as=80000001")});
    CProcessComPort port(path, kSpeed, Rule(true));
    const CExchange bad = Exchange(port, 1);
    EXPECT_EQ(bad.reply.Size(), 63u);
    EXPECT_EQ(bad.check, TelegramBadChecksum);
    EXPECT_GE(bad.ms, kSilenceMs) << "not a complete frame: the silence ends it";
    const CExchange other = Exchange(port, 2, MeterCodeWater);
    EXPECT_EQ(other.check, TelegramOk);
    EXPECT_EQ(other.serial, 80000001);
}

TEST_F(SerialLink, APortInUseGivesTheOpenMessageAndThenTheLostOne) {
    const char* path = Play({Meter("heat:1")});
    CProcessComPort first(path, kSpeed, Rule(true));
    ASSERT_TRUE(first.Port().IsOpen());
    CProcessComPort second(path, kSpeed, Rule(true));
    EXPECT_FALSE(second.Port().IsOpen());
    EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}}));

    second.SendPackage(*CLongFrame().BuildReadRequest(1, MeterCodeHeat));
    CDataPackage untouched = HexPackage("AB CD");
    second.ReceivePackage(untouched);
    EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}, {0, kLost}, {0, kLost}}));
    EXPECT_EQ(untouched.Bytes(), HexPackage("AB CD").Bytes());
    EXPECT_TRUE(simulator->Requests().empty()) << "nothing was written";
    EXPECT_EQ(Exchange(first, 1).check, TelegramOk) << "the first holder is undisturbed";
}

TEST_F(SerialLink, RetryAsksAgainUntilThePortOpensOrTheOperatorCancels) {
    const char* path = Play({});
    auto holder = std::make_unique<CComPort>(path, kSpeed);
    retries = 2;
    CComPort refused(path, kSpeed);
    EXPECT_FALSE(refused.IsOpen());
    EXPECT_EQ(asked.size(), 3u) << "two retries, then Cancel";

    asked.clear();
    retries = 1;
    beforeRetry = [&] { holder.reset(); };
    CComPort patient(path, kSpeed);
    EXPECT_TRUE(patient.IsOpen());
    EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}}));
}

TEST_F(SerialLink, ARetryAfterALostLinkReopensButSendsNothing) {
    const char* path = Play({Meter("heat:1")});
    auto holder = std::make_unique<CComPort>(path, kSpeed);
    CProcessComPort port(path, kSpeed, Rule(true));
    ASSERT_FALSE(port.Port().IsOpen());
    holder.reset();
    retries = 1;
    port.SendPackage(*CLongFrame().BuildReadRequest(1, MeterCodeHeat));
    EXPECT_TRUE(port.Port().IsOpen());
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(simulator->Requests().empty());
    EXPECT_EQ(Exchange(port, 1).check, TelegramOk);
}

TEST_F(SerialLink, WithoutAHandlerAFailureIsTakenAsCancelAndSaidOnStandardError) {
    SetLinkErrorHandler({});
    ::testing::internal::CaptureStderr();
    CProcessComPort port(kMissingPort, kSpeed);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(port.Port().IsOpen());
    EXPECT_NE(said.find(kCannotOpen), std::string::npos) << said;
}

TEST_F(SerialLink, AMissingDeviceCannotBeOpened) {
    CProcessComPort port(kMissingPort, kSpeed);
    EXPECT_FALSE(port.Port().IsOpen());
    EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}}));
}

TEST_F(SerialLink, AnUnacceptedSpeedOpensAt300) {
    const char* path = Play({});
    for (unsigned speed : {0u, 110u, 14400u, 57600u, 115200u}) {
        CComPort port(path, speed);
        ASSERT_TRUE(port.IsOpen());
        EXPECT_EQ(port.Speed(), 300u) << speed;
        EXPECT_EQ(port.ReadInterval(), 140u);
        const termios line = simulator->LineSettings();
        EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B300));
    }
}

TEST_F(SerialLink, EveryAcceptedSpeedIsSetOnTheLineWithItsReadInterval) {
    const char* path = Play({});
    const std::pair<unsigned, speed_t> speeds[] = {
        {300, B300},   {600, B600},   {1200, B1200},   {1800, B1800},  {2400, B2400},
        {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400}};
    for (auto [bits, code] : speeds) {
        EXPECT_EQ(CComPort::CheckBaud(bits), bits);
        CComPort port(path, bits);
        EXPECT_EQ(port.Speed(), bits);
        EXPECT_EQ(port.ReadInterval(), 33000 / bits + 30);
        const termios line = simulator->LineSettings();
        EXPECT_EQ(cfgetospeed(&line), code) << bits;
    }
    EXPECT_EQ(CComPort(path, 1200).ReadInterval(), 57u);
    EXPECT_EQ(CComPort(path, 2400).ReadInterval(), 43u);
}

TEST_F(SerialLink, TheLineIsRawEightBitsWithoutFlowControl) {
    const char* path = Play({});
    CComPort port(path, kSpeed);
    const termios line = simulator->LineSettings();
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    // Parity is asked for, but a pseudo-terminal drops it; it is not checked on receive.
    EXPECT_EQ(line.c_iflag & (INPCK | IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_TRUE(asked.empty()) << "the refused modem-line calls are no failure";
}

TEST_F(SerialLink, ALostDeviceClosesThePortAndTheNextExchangeSaysSo) {
    CProcessComPort port(Play({Meter("heat:1")}), kSpeed, Rule(true));
    simulator.reset();
    CDataPackage reply("Read");
    const Clock::time_point start = Clock::now();
    port.ReceivePackage(reply);
    EXPECT_LT(MsSince(start), kSilenceMs) << "a hang-up is not waited out";
    EXPECT_EQ(reply.Size(), 1u);
    EXPECT_FALSE(port.Port().IsOpen());
    port.SendPackage(*CLongFrame().BuildReadRequest(1, MeterCodeHeat));
    EXPECT_EQ(asked, (std::vector<CAsked>{{0, kLost}}));
}

TEST_F(SerialLink, AClosedPortIsFreeForTheNextOpen) {
    const char* path = Play({Meter("heat:1")});
    { CProcessComPort first(path, kSpeed, Rule(true)); }
    CProcessComPort again(path, kSpeed, Rule(true));
    EXPECT_TRUE(again.Port().IsOpen());
    EXPECT_EQ(Exchange(again, 1).check, TelegramOk);
    EXPECT_TRUE(asked.empty());
}
