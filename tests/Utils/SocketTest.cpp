#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "Utils/Socket.h"
#include "Utils/WakeFlag.h"
#include "support/LoopbackListener.h"

namespace {
using namespace std::chrono_literals;
using Clock = CSocket::Clock;

// A connection from a CSocket to a loopback listener, and the listener's end of it.
struct CConnected {
    CLoopbackListener listener;
    CSocket socket;
    TestConnection peer = kNoConnection;

    CConnected() {
        EXPECT_EQ(socket.Connect("127.0.0.1", std::to_string(listener.Port()), std::nullopt, 2s,
                                 std::nullopt),
                  SocketConnect::Connected);
        peer = listener.Accept(2000);
        EXPECT_NE(peer, kNoConnection);
    }
    ~CConnected() { CloseConnection(peer); }

    std::string Receive(std::chrono::milliseconds wait, SocketIo expected,
                        const CWakeFlag* wake = nullptr) {
        char bytes[16];
        std::size_t got = 0;
        EXPECT_EQ(socket.Receive(bytes, sizeof bytes, got, Clock::now() + wait, wake), expected);
        return std::string(bytes, got);
    }
};
}  // namespace

TEST(Socket, ReceivesWhatComesWaitsNoLongerThanToldAndSeesTheClose) {
    CConnected link;
    const Clock::time_point start = Clock::now();
    link.Receive(150ms, SocketIo::TimedOut);
    EXPECT_GE(Clock::now() - start, 150ms);
    EXPECT_LT(Clock::now() - start, 1500ms);

    ASSERT_EQ(SendSome(link.peer, "ab", 2), 2);
    EXPECT_EQ(link.Receive(2s, SocketIo::Done), "ab");
    ASSERT_EQ(link.socket.SendAll("xyz", 3, Clock::now() + 2s), SocketIo::Done);
    char sent[8];
    ASSERT_TRUE(Readable(link.peer, 2000));
    EXPECT_EQ(ReceiveSome(link.peer, sent, sizeof sent), 3);

    // Bytes left over are read off without a wait; after them the line is quiet again.
    ASSERT_EQ(SendSome(link.peer, "late", 4), 4);
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(link.socket.Drain());
    link.Receive(50ms, SocketIo::TimedOut);

    CloseConnection(link.peer);
    link.peer = kNoConnection;
    link.Receive(2s, SocketIo::Closed);
    EXPECT_FALSE(link.socket.Drain());
}

TEST(Socket, ARaisedWakeFlagEndsAWaitAtOnceAndWinsOverBytes) {
    CConnected link;
    CWakeFlag wake;
    std::thread raiser([&] {
        std::this_thread::sleep_for(100ms);
        wake.Raise();
    });
    const Clock::time_point start = Clock::now();
    link.Receive(10s, SocketIo::Woken, &wake);
    EXPECT_LT(Clock::now() - start, 2s);
    raiser.join();

    ASSERT_EQ(SendSome(link.peer, "b", 1), 1);
    std::this_thread::sleep_for(100ms);
    link.Receive(2s, SocketIo::Woken, &wake);
    wake.Lower();
    EXPECT_EQ(link.Receive(2s, SocketIo::Done, &wake), "b");
}
