#include "support/LoopbackListener.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace {
void StartWinsock() {
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

sockaddr_in Loopback(unsigned short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

SOCKET SocketOf(TestConnection connection) {
    return static_cast<SOCKET>(connection);
}
}  // namespace

CLoopbackListener::CLoopbackListener(int backlog) {
    StartWinsock();
    const SOCKET fd = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    int length = sizeof address;
    auto* any = reinterpret_cast<sockaddr*>(&address);
    if (fd == INVALID_SOCKET || ::bind(fd, any, length) != 0 || ::listen(fd, backlog) != 0 ||
        ::getsockname(fd, any, &length) != 0) {
        if (fd != INVALID_SOCKET) ::closesocket(fd);
        return;
    }
    native_ = static_cast<TestConnection>(fd);
    port_ = ntohs(address.sin_port);
}

CLoopbackListener::~CLoopbackListener() {
    CloseConnection(native_);
}

TestConnection CLoopbackListener::Accept(unsigned waitMs) {
    if (!Readable(native_, waitMs)) return kNoConnection;
    const SOCKET accepted = ::accept(SocketOf(native_), nullptr, nullptr);
    return accepted != INVALID_SOCKET ? static_cast<TestConnection>(accepted) : kNoConnection;
}

TestConnection ConnectToLoopback(unsigned short port) {
    StartWinsock();
    const SOCKET fd = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in address = Loopback(port);
    if (fd != INVALID_SOCKET &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return static_cast<TestConnection>(fd);
    if (fd != INVALID_SOCKET) ::closesocket(fd);
    return kNoConnection;
}

bool Readable(TestConnection connection, unsigned waitMs) {
    WSAPOLLFD ready{SocketOf(connection), POLLRDNORM, 0};
    return ::WSAPoll(&ready, 1, static_cast<INT>(waitMs)) > 0;
}

long ReceiveSome(TestConnection connection, char* into, std::size_t size) {
    return ::recv(SocketOf(connection), into, static_cast<int>(size), 0);
}

long SendSome(TestConnection connection, const char* bytes, std::size_t size) {
    return ::send(SocketOf(connection), bytes, static_cast<int>(size), 0);
}

void CloseConnection(TestConnection connection) {
    if (connection != kNoConnection) ::closesocket(SocketOf(connection));
}
