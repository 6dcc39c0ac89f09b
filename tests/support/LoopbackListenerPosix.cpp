#include "support/LoopbackListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
sockaddr_in Loopback(unsigned short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}
}  // namespace

CLoopbackListener::CLoopbackListener(int backlog) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    auto* any = reinterpret_cast<sockaddr*>(&address);
    if (fd < 0 || ::bind(fd, any, length) != 0 || ::listen(fd, backlog) != 0 ||
        ::getsockname(fd, any, &length) != 0) {
        if (fd >= 0) ::close(fd);
        return;
    }
    native_ = fd;
    port_ = ntohs(address.sin_port);
}

CLoopbackListener::~CLoopbackListener() {
    CloseConnection(native_);
}

TestConnection CLoopbackListener::Accept(unsigned waitMs) {
    if (!Readable(native_, waitMs)) return kNoConnection;
    const int accepted = ::accept4(static_cast<int>(native_), nullptr, nullptr, SOCK_CLOEXEC);
    return accepted >= 0 ? accepted : kNoConnection;
}

TestConnection ConnectToLoopback(unsigned short port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0) ::close(fd);
    return kNoConnection;
}

bool Readable(TestConnection connection, unsigned waitMs) {
    pollfd ready{static_cast<int>(connection), POLLIN, 0};
    return ::poll(&ready, 1, static_cast<int>(waitMs)) > 0;
}

long ReceiveSome(TestConnection connection, char* into, std::size_t size) {
    return ::recv(static_cast<int>(connection), into, size, 0);
}

long SendSome(TestConnection connection, const char* bytes, std::size_t size) {
    return ::send(static_cast<int>(connection), bytes, size, MSG_NOSIGNAL);
}

void CloseConnection(TestConnection connection) {
    if (connection != kNoConnection) ::close(static_cast<int>(connection));
}
