#include <fcntl.h>
#include <unistd.h>

#include "serial/ComPort.h"
#include "serial/Frame.h"
#include "serial/HexPackage.h"
#include "serial/LineSpeeds.h"
#include "serial/LinkFixture.h"
#include "serial/ReplyAssembler.h"

using namespace link_test;

namespace {
constexpr const char* kMissingPort = "/dev/ttyVEVO-missing";

std::unique_ptr<CComPort> OpenedPort(const std::string& path, unsigned speed = kSpeed) {
    auto port = std::make_unique<CComPort>(path.c_str(), speed);
    EXPECT_EQ(port->Open(), ChannelOpening::Open) << path;
    return port;
}
}  // namespace

// The termios port, and the exchange over it against the simulator on a pseudo-terminal.
using ComPort = SerialLink;

TEST_F(ComPort, TheWorkedRequestGoesOutAsItIs) {
    CProcessComPort port(Play({}).c_str(), kSpeed, Rule(true));
    port.SendPackage(*CLongFrame().BuildReadRequest(12345678, MeterCodeHeat));
    ASSERT_TRUE(WaitForRequests(1));
    const CDataPackage expected = HexPackage(kWorkedRequest);
    EXPECT_EQ(simulator->Requests()[0].Bytes(),
              std::vector<std::uint8_t>(expected.Bytes().begin() + 3, expected.Bytes().end()));
    EXPECT_TRUE(asked.empty());
}

TEST_F(ComPort, ACompleteFrameEndsTheReplyWhileThePureRuleWaitsForSilence) {
    const std::string path = Play({Meter("heat:12345678")});
    const double frameMs = [&] {
        CProcessComPort onFrame(path.c_str(), kSpeed, Rule(true));
        return Exchange(onFrame, 12345678).ms;
    }();
    EXPECT_GE(frameMs, kRequestMs + kHeatReplyMs);
    EXPECT_LT(frameMs, kRequestMs + kHeatReplyMs + kSilenceMs);
    CProcessComPort onSilence(path.c_str(), kSpeed, Rule(false));
    EXPECT_GE(Exchange(onSilence, 12345678).ms,
              kRequestMs + kHeatReplyMs + kSilenceMs + kReadInterval);
}

TEST_F(ComPort, EveryReceivedByteGoesToTheLog) {
    CProcessComPort port(Play({Meter("water:87654321")}).c_str(), kSpeed, Rule(true));
    const CExchange water = Exchange(port, 87654321, MeterCodeWater);
    const CExchange nobody = Exchange(port, 5, MeterCodeWater);
    EXPECT_EQ(ReadFile("console.log"), LogOf(water.reply) + " 00 ");
    EXPECT_EQ(LogOf(water.reply).substr(0, 20), " FE  FE  FE  68  10 ");
}

TEST_F(ComPort, RepliesInBurstsEndCorrectlyUnderBothRules) {
    CSimLine line;
    line.burstBytes = 16;
    line.burstGapMs = 60;  // gaps well inside the silence
    const std::string path = Play({Meter("heat:12345678")}, line);
    const CExchange frame = [&] {
        CProcessComPort onFrame(path.c_str(), kSpeed, Rule(true));
        return Exchange(onFrame, 12345678);
    }();
    EXPECT_EQ(frame.check, TelegramOk);
    EXPECT_EQ(frame.reply.Size(), 63u);
    const double onLineMs = kRequestMs + kHeatReplyMs + 3 * line.burstGapMs;
    EXPECT_GE(frame.ms, onLineMs) << "the gaps did not end the reply";
    EXPECT_LT(frame.ms, onLineMs + kSilenceMs);

    CProcessComPort onSilence(path.c_str(), kSpeed, Rule(false));
    const CExchange silence = Exchange(onSilence, 12345678);
    EXPECT_EQ(silence.check, TelegramOk);
    EXPECT_EQ(silence.reply.Size(), 63u);
    EXPECT_GE(silence.ms, onLineMs + kSilenceMs + kReadInterval);
}

TEST_F(ComPort, AGapLongerThanTheSilenceCutsTheReplyUnderBothRules) {
    CSimLine line;
    line.burstBytes = 20;
    line.burstGapMs = kSilenceMs + 200;
    const std::string path = Play({Meter("heat:12345678")}, line);
    for (bool endOnFrame : {true, false}) {
        CProcessComPort port(path.c_str(), kSpeed, Rule(endOnFrame));
        const CExchange exchange = Exchange(port, 12345678);
        EXPECT_EQ(exchange.reply.Size(), 21u);
        EXPECT_NE(exchange.check, TelegramOk);
        std::this_thread::sleep_for(std::chrono::milliseconds(3 * line.burstGapMs));
    }
}

TEST_F(ComPort, AReplyAfterAnyPreambleOrNoiseIsTakenUnderBothRules) {
    const std::string path =
        Play({Meter("heat:1,preamble=13,noise=9"), Meter("water:2,preamble=0")});
    for (bool endOnFrame : {true, false}) {
        CProcessComPort port(path.c_str(), kSpeed, Rule(endOnFrame));
        const CExchange noisy = Exchange(port, 1);
        EXPECT_EQ(noisy.check, TelegramOk) << endOnFrame;
        EXPECT_EQ(noisy.serial, 1);
        EXPECT_EQ(noisy.reply.Size(), 9u + 13 + 59 + 1);
        if (endOnFrame) {
            EXPECT_LT(noisy.ms, kSilenceMs) << "its frame ends it";
        }
        const CExchange bare = Exchange(port, 2, MeterCodeWater);
        EXPECT_EQ(bare.check, TelegramOk) << endOnFrame;
        EXPECT_EQ(bare.serial, 2);
    }
}

TEST_F(ComPort, ALineThatNeverFallsSilentEndsTheExchangeWithinItsBound) {
    // A stuck modem, radio noise, a burst of another meter's reply that keeps restarting, and
    // a meter's own reply over and over.
    const std::string path =
        Play({Meter("heat:1,endless=68"), Meter("heat:2,endless=noise"),
              Meter("heat:3,endless=reply,as=4"), Meter("heat:5,endless=reply"), Meter("heat:6")});
    const double boundMs = 2 * kSilenceMs + CharactersMs(kLongestFrameBytes, kSpeed);
    const double byteBoundMs = kMaxReplyBytes * kCharacterMs;
    CProcessComPort port(path.c_str(), kSpeed, Rule(true));
    for (unsigned serial : {1u, 2u, 3u}) {
        const CExchange endless = Exchange(port, serial);
        EXPECT_NE(endless.check, TelegramOk) << serial;
        EXPECT_LT(endless.ms, boundMs + kRequestMs + 100) << serial;
        // Another meter's frames are dropped and do not count: only the time bound ends it.
        EXPECT_GE(endless.ms, serial == 3 ? boundMs : byteBoundMs) << serial;
    }
    const CExchange own = Exchange(port, 5);
    EXPECT_EQ(own.check, TelegramOk) << "its first frame is the reply";
    EXPECT_LT(own.ms, kRequestMs + byteBoundMs + 100);
    EXPECT_EQ(Exchange(port, 6).check, TelegramOk) << "nothing of the endless line is left";

    CProcessComPort onSilence(path.c_str(), kSpeed, Rule(false));
    const CExchange silence = Exchange(onSilence, 5);
    EXPECT_NE(silence.check, TelegramOk) << "never silent: the byte bound ends it";
    EXPECT_LT(silence.ms, boundMs + kRequestMs + 100);
}

TEST_F(ComPort, LateBytesFromAnEarlierReplyArePurgedBeforeTheNextRequest) {
    CProcessComPort port(Play(LateThenPrompt()).c_str(), kSpeed, Rule(true));
    ExpectALateReplyLeftOutOfTheNextExchange(port);
}

TEST_F(ComPort, BytesAfterACompleteFrameAreDroppedAndTheFrameIsTheReply) {
    for (unsigned extra : {1u, 3u}) {
        for (bool later : {false, true}) {
            // Later: the whole reply comes late, and its extra bytes a while after the frame.
            CSimLine line;
            if (later) line.burstBytes = kHeatReplyBytes, line.burstGapMs = 10;
            const std::string late = later ? ",late=15" : "";
            const std::string path = Play(
                {Meter("heat:1,trailing=" + std::to_string(extra) + late), Meter("heat:2")}, line);
            CProcessComPort port(path.c_str(), kSpeed, Rule(true));
            const CExchange first = Exchange(port, 1);
            const std::string what = std::to_string(extra) + (later ? " later" : " at once");
            EXPECT_EQ(first.check, TelegramOk) << what;
            EXPECT_EQ(first.serial, 1) << what;
            EXPECT_EQ(first.reply.Size(), 63u) << what;
            EXPECT_LT(first.ms, kSilenceMs) << what << ": the silence is not waited for";
            const CExchange next = Exchange(port, 2);
            EXPECT_EQ(next.check, TelegramOk) << what;
            EXPECT_EQ(next.reply.Size(), 63u) << what;
            const std::string dropped = extra == 1 ? " dropped: AA " : " dropped: AA AA AA ";
            EXPECT_EQ(ReadFile("console.log"), LogOf(first.reply) + dropped + LogOf(next.reply));
            WriteFile("console.log", "");
        }
    }
}

TEST_F(ComPort, WithThePureSilenceRuleBytesAfterAFrameStayInTheReply) {
    CProcessComPort port(Play({Meter("heat:1,trailing=3"), Meter("heat:2")}).c_str(), kSpeed,
                         Rule(false));
    const CExchange trailing = Exchange(port, 1);
    EXPECT_EQ(trailing.reply.Size(), 63u + 3);
    EXPECT_NE(trailing.check, TelegramOk);
    EXPECT_EQ(Exchange(port, 2).check, TelegramOk) << "nothing of the earlier reply is left";
}

TEST_F(ComPort, ABadChecksumIsHandedOverAsItCameAndAnotherMetersFrameIsDropped) {
    const std::string path =
        Play({Meter("heat:1,bad-checksum"), Meter("heat:3,bad-checksum,trailing=2"),
              Meter("water:2,as=80000001")});
    CProcessComPort port(path.c_str(), kSpeed, Rule(true));
    const CExchange bad = Exchange(port, 1);
    EXPECT_EQ(bad.reply.Size(), 63u);
    EXPECT_EQ(bad.check, TelegramBadChecksum);
    EXPECT_GE(bad.ms, kSilenceMs) << "not a complete frame: the silence ends it";
    const CExchange followed = Exchange(port, 3);
    EXPECT_EQ(followed.reply.Size(), 63u + 2) << "every byte is kept";
    EXPECT_NE(followed.check, TelegramOk);
    WriteFile("console.log", "");
    const CExchange other = Exchange(port, 2, MeterCodeWater);
    EXPECT_EQ(other.reply.Bytes(), std::vector<std::uint8_t>{0});
    EXPECT_GE(other.ms, kSilenceMs) << "it costs one silence, as a silent meter does";
    EXPECT_EQ(ReadFile("console.log").rfind(" not asked: FE FE FE 68 10 01 00 00 80 ", 0), 0u)
        << ReadFile("console.log");
}

TEST_F(ComPort, RetryAsksAgainUntilThePortOpensOrTheOperatorCancels) {
    const std::string path = Play({});
    std::unique_ptr<CComPort> holder = OpenedPort(path);
    retries = 2;
    CProcessComPort refused(path.c_str(), kSpeed);
    EXPECT_FALSE(refused.IsOpen());
    EXPECT_EQ(asked.size(), 3u) << "two retries, then Cancel";

    asked.clear();
    retries = 1;
    beforeRetry = [&] { holder.reset(); };
    CProcessComPort patient(path.c_str(), kSpeed);
    EXPECT_TRUE(patient.IsOpen());
    EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}}));
}

TEST_F(ComPort, ARetryAfterALostLinkReopensButSendsNothing) {
    const std::string path = Play({Meter("heat:1")});
    std::unique_ptr<CComPort> holder = OpenedPort(path);
    CProcessComPort port(path.c_str(), kSpeed, Rule(true));
    ASSERT_FALSE(port.IsOpen());
    holder.reset();
    retries = 1;
    port.SendPackage(*CLongFrame().BuildReadRequest(1, MeterCodeHeat));
    EXPECT_TRUE(port.IsOpen());
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(simulator->Requests().empty());
    EXPECT_EQ(Exchange(port, 1).check, TelegramOk);
}

TEST_F(ComPort, WithoutAHandlerAFailureIsTakenAsCancelAndSaidOnStandardError) {
    SetLinkErrorHandler({});
    ::testing::internal::CaptureStderr();
    CProcessComPort port(kMissingPort, kSpeed);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_NE(said.find(kCannotOpen), std::string::npos) << said;
    EXPECT_NE(said.find(kMissingPort), std::string::npos) << said;
}

TEST_F(ComPort, AMissingDeviceOrOneThatIsNoTerminalCannotBeOpened) {
    WriteFile("plain-file", "");
    for (const std::string& path : {std::string(kMissingPort), std::string("/dev/null"),
                                    (dir.Path() / "plain-file").string(), dir.Path().string()}) {
        asked.clear();
        CProcessComPort port(path.c_str(), kSpeed);
        EXPECT_FALSE(port.IsOpen()) << path;
        EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}})) << path;
    }
}

TEST_F(ComPort, AnUnacceptedSpeedOpensAt300) {
    const std::string path = Play({});
    for (unsigned speed : {0u, 110u, 14400u, 57600u, 115200u}) {
        std::unique_ptr<CComPort> port = OpenedPort(path, speed);
        EXPECT_EQ(port->Speed(), 300u) << speed;
        const termios line = simulator->LineSettings();
        EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B300));
    }
}

TEST_F(ComPort, EveryAcceptedSpeedIsSetOnTheLine) {
    const std::string path = Play({});
    const std::pair<unsigned, speed_t> speeds[] = {{300, B300},   {600, B600},     {1200, B1200},
                                                   {1800, B1800}, {2400, B2400},   {4800, B4800},
                                                   {9600, B9600}, {19200, B19200}, {38400, B38400}};
    for (auto [bits, code] : speeds) {
        EXPECT_EQ(CheckBaud(bits), bits);
        const std::unique_ptr<CComPort> port = OpenedPort(path, bits);
        EXPECT_EQ(port->Speed(), bits);
        const termios line = simulator->LineSettings();
        EXPECT_EQ(cfgetospeed(&line), code) << bits;
    }
}

TEST_F(ComPort, TheLineIsRawEightBitsWithoutFlowControl) {
    const std::string path = Play({});
    CProcessComPort port(path.c_str(), kSpeed);
    const termios line = simulator->LineSettings();
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    // Parity is asked for, but a pseudo-terminal drops it; it is not checked on receive.
    EXPECT_EQ(line.c_iflag & (INPCK | IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(asked.empty()) << "the refused modem-line calls are no failure";
}

TEST_F(ComPort, AClosedPortIsFreeForTheNextOpen) {
    const std::string path = Play({Meter("heat:1")});
    { CProcessComPort first(path.c_str(), kSpeed, Rule(true)); }
    CProcessComPort again(path.c_str(), kSpeed, Rule(true));
    EXPECT_TRUE(again.IsOpen());
    EXPECT_EQ(Exchange(again, 1).check, TelegramOk);
    EXPECT_TRUE(asked.empty());
}
