#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "serial/Frame.h"
#include "serial/HexPackage.h"
#include "serial/LinkFixture.h"

using namespace link_test;

namespace {
// A server whose queue of connections waiting to be taken is full: a further connect is
// neither taken nor refused, and only the connect wait ends it.
class CFullServer {
public:
    CFullServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        auto* any = reinterpret_cast<sockaddr*>(&address);
        EXPECT_EQ(::bind(listener_, any, size), 0);
        EXPECT_EQ(::listen(listener_, 0), 0);
        EXPECT_EQ(::getsockname(listener_, any, &size), 0);
        port_ = ntohs(address.sin_port);
        filler_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        EXPECT_EQ(::connect(filler_, any, size), 0);
    }
    ~CFullServer() {
        ::close(filler_);
        ::close(listener_);
    }
    std::string Name() const { return "tcp:127.0.0.1:" + std::to_string(port_); }

private:
    int listener_ = -1;
    int filler_ = -1;
    unsigned port_ = 0;
};
}  // namespace

// The network link to a serial device server, against the simulator listening on loopback.
using TcpLink = SerialLink;

TEST_F(TcpLink, ExchangesGoOverTheNetworkAsOverTheSerialPort) {
    const std::string name =
        PlayTcp({Meter("heat:12345678"), Meter("water:87654321"), Meter("heat:3,trailing=3")});
    ASSERT_TRUE(name.starts_with("tcp:127.0.0.1:")) << name;
    ASSERT_NE(simulator->TcpPort(), 0u);
    CProcessComPort port(name.c_str(), kSpeed, Rule(true));
    ASSERT_TRUE(port.IsOpen());

    const CExchange heat = Exchange(port, 12345678);
    ASSERT_TRUE(WaitForRequests(1));
    const CDataPackage request = HexPackage(kWorkedRequest);
    EXPECT_EQ(simulator->Requests()[0].Bytes(),
              std::vector<std::uint8_t>(request.Bytes().begin() + 3, request.Bytes().end()));
    EXPECT_EQ(heat.reply.Size(), 63u);
    EXPECT_EQ(heat.check, TelegramOk);
    EXPECT_EQ(heat.serial, 12345678);
    EXPECT_LT(heat.ms, kSilenceMs) << "a complete frame ends the reply here too";
    const CExchange water = Exchange(port, 87654321, MeterCodeWater);
    EXPECT_EQ(water.check, TelegramOk);
    EXPECT_EQ(water.serial, 87654321);
    const CExchange trailing = Exchange(port, 3);
    EXPECT_EQ(trailing.check, TelegramOk);
    EXPECT_EQ(ReadFile("console.log"), LogOf(heat.reply) + LogOf(water.reply) +
                                           LogOf(trailing.reply) + " dropped: AA AA AA ");
    EXPECT_TRUE(asked.empty());
}

TEST_F(TcpLink, LateBytesFromAnEarlierReplyAreDrainedBeforeTheNextRequest) {
    CProcessComPort port(PlayTcp(LateThenPrompt()).c_str(), kSpeed, Rule(true));
    ExpectALateReplyLeftOutOfTheNextExchange(port);
}

TEST_F(TcpLink, NoServerGivesTheOpenMessageAndRetryConnectsAgain) {
    PlayTcp({});
    const unsigned freed = simulator->TcpPort();
    simulator.reset();
    retries = 1;
    beforeRetry = [&] { PlayTcp({Meter("heat:1")}, freed); };
    CProcessComPort port(("tcp:127.0.0.1:" + std::to_string(freed)).c_str(), kSpeed, Rule(true));
    EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}}));
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(Exchange(port, 1).check, TelegramOk);
}

TEST_F(TcpLink, AMalformedNameOrAServerThatNeverAnswersCannotBeOpened) {
    const CFullServer full;
    CLinkSettings settings = Rule(true);
    settings.connectWaitMs = 100;
    for (const std::string& name :
         {std::string("tcp:127.0.0.1"), std::string("tcp:127.0.0.1:0"), std::string("tcp::4001"),
          std::string("tcp:127.0.0.1:http"), full.Name()}) {
        asked.clear();
        CProcessComPort port(name.c_str(), kSpeed, settings);
        EXPECT_FALSE(port.IsOpen()) << name;
        EXPECT_EQ(asked, (std::vector<CAsked>{{1, kCannotOpen}})) << name;
    }
}

TEST_F(TcpLink, AConnectionTheServerClosesIsLostAndRetryReconnects) {
    CProcessComPort port(PlayTcp({Meter("heat:1")}).c_str(), kSpeed, Rule(true));
    ASSERT_EQ(Exchange(port, 1).check, TelegramOk);
    simulator->Hangup();
    CDataPackage reply("Read");
    const Clock::time_point start = Clock::now();
    port.ReceivePackage(reply);
    EXPECT_LT(MsSince(start), kSilenceMs) << "a closed connection is not waited out";
    EXPECT_EQ(reply.Size(), 1u);
    EXPECT_FALSE(port.IsOpen());

    retries = 1;
    port.SendPackage(*CLongFrame().BuildReadRequest(1, MeterCodeHeat));
    EXPECT_EQ(asked, (std::vector<CAsked>{{0, kLost}}));
    EXPECT_TRUE(port.IsOpen());
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(simulator->Requests().size(), 1u)
        << "the request that found the link gone is not sent";
    EXPECT_EQ(Exchange(port, 1).check, TelegramOk);
}
