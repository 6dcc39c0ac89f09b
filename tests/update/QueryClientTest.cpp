#include <gtest/gtest.h>

#include <chrono>

#include "app/ProgramInfo.h"
#include "support/FakeGateway.h"
#include "support/TempWorkDir.h"
#include "update/QueryClient.h"

namespace {
CPostLimits Quick() {
    CPostLimits limits;
    limits.connect = std::chrono::milliseconds(1000);
    limits.read = std::chrono::milliseconds(300);
    return limits;
}

CQueryClient ClientOf(const CFakeGateway& gateway) {
    return CQueryClient({"127.0.0.1", gateway.Port()});
}
}  // namespace

TEST(QueryClient, PostsTheFormWhole) {
    CTempWorkDir dir;
    CFakeGateway gateway([](const std::string&) { return CFakeGateway::Json("[1]"); });
    std::string reply;
    const std::string form(37, 'f');
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", form, reply, Quick()), PostStatus::Ok);
    EXPECT_EQ(reply, "[1]");
    const std::string request = gateway.Requests().at(0);
    EXPECT_EQ(request,
              "POST /rest HTTP/1.0\r\nHost: 127.0.0.1\r\nAccept: application/json\r\nContent-type: "
              "application/x-www-form-urlencoded\r\nContent-length: 37\r\n\r\n" +
                  form);
    EXPECT_EQ(ReadFile("console.log"), request) << "the request is logged as sent";
    const std::string logged = HidePassword(BuildQueryForm(CProgramInfo(), "call x();"));
    EXPECT_EQ(logged.substr(logged.find("&username=")),
              "&username=local_kestra&password=***&database=dorn_main&query=call x();");

    const std::string longForm = "query=" + std::string(20000, 'q');
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", longForm, reply, Quick()), PostStatus::Ok);
    EXPECT_EQ(gateway.Requests().at(1).substr(gateway.Requests().at(1).size() - 20006), longForm)
        << "a request longer than any buffer is neither cut nor refused";

    const CProgramInfo info;
    EXPECT_EQ(BuildQueryForm(info, "call a('x&y');"),
              std::string("host=") + info.GetDatabaseHost() +
                  "&username=local_kestra&password=Kp4!vT=}<,/e&database=dorn_main&query=call "
                  "a('x&y');");
}

TEST(QueryClient, OnlyAStatusLineOf200IsSuccess) {
    CTempWorkDir dir;
    std::string raw;
    CFakeGateway gateway([&](const std::string&) { return CFakeGateway::CReply{raw, false}; });
    std::string reply = "stale";
    raw = "HTTP/1.0 404 Not Found\r\nX-Id: 200\r\nContent-Length: 200\r\n\r\n[\"200\"]";
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, Quick()), PostStatus::NotOk);
    EXPECT_EQ(reply, "");
    raw = "HTTP/1.1 2000 Odd\r\n\r\n[]";
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, Quick()), PostStatus::NotOk);
    raw = "HTTP/1.1 200\n\n[]";
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, Quick()), PostStatus::Ok);
    EXPECT_EQ(reply, "[]");
    raw = "HTTP/1.0 200 OK\r\n\r\n";
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, Quick()), PostStatus::Ok);
    EXPECT_EQ(reply, "") << "an empty body is an empty reply";
    raw = "HTTP/1.0 200 OK\r\nServer: half";
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, Quick()), PostStatus::Truncated);
    raw = "HTTP/1.0 200 OK\r\n\r\n" + std::string(2000, 'x');
    CPostLimits small = Quick();
    small.maxBody = 1000;
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, small), PostStatus::TooLarge);
    EXPECT_EQ(reply, "");
}

TEST(QueryClient, AHeadOverItsBoundIsRefusedEvenWhenItsEndCameWithIt) {
    CTempWorkDir dir;
    std::string raw;
    CFakeGateway gateway([&](const std::string&) { return CFakeGateway::CReply{raw, false}; });
    std::string reply;
    // "HTTP/1.0 200 OK\r\n", "X-Pad: " and the closing "\r\n\r\n" around the padding.
    const auto headOf = [](std::size_t size) {
        return "HTTP/1.0 200 OK\r\nX-Pad: " + std::string(size - 28, 'p') + "\r\n\r\n";
    };
    raw = headOf(64u << 10) + "[]";
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, Quick()), PostStatus::Ok);
    EXPECT_EQ(reply, "[]");
    raw = headOf((64u << 10) + 1) + "[]";
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, Quick()), PostStatus::TooLarge);
    EXPECT_EQ(reply, "");
}

TEST(QueryClient, AGatewayThatNeverAnswersOrIsNotThereEndsTheCallInTime) {
    CTempWorkDir dir;
    CFakeGateway gateway([](const std::string&) { return CFakeGateway::Hang(); });
    std::string reply;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, Quick()), PostStatus::TimedOut);
    CPostLimits deadline = Quick();
    deadline.read = std::chrono::milliseconds(60000);
    deadline.deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, deadline), PostStatus::TimedOut)
        << "the deadline cuts a longer read time-out short";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    CPostLimits stopping = Quick();
    stopping.read = std::chrono::milliseconds(60000);
    const auto asked = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    stopping.stop = [&] { return std::chrono::steady_clock::now() >= asked; };
    EXPECT_EQ(ClientOf(gateway).PostQuery("/rest", "f", reply, stopping), PostStatus::Stopped);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(500))
        << "a stop ends the call in flight at once";

    unsigned short closed = 0;
    {
        closed = CFakeGateway([](const std::string&) { return CFakeGateway::Hang(); }).Port();
    }
    EXPECT_EQ(CQueryClient({"127.0.0.1", closed}).PostQuery("/rest", "f", reply, Quick()),
              PostStatus::ConnectFailed);
    const auto lookup = std::chrono::steady_clock::now();
    const PostStatus unknown =
        CQueryClient({"vevo-no-such-host.invalid", 80}).PostQuery("/rest", "f", reply, Quick());
    EXPECT_TRUE(unknown == PostStatus::UnknownHost || unknown == PostStatus::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - lookup, std::chrono::seconds(3))
        << "a slow resolver is bounded like the connect";
}
