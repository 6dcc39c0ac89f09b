#include "serial/TcpChannel.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>

#include "serial/DescriptorIo.h"
#include "serial/NetworkAddress.h"

namespace {
using Clock = std::chrono::steady_clock;

struct CAddressListFree {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using CAddressList = std::unique_ptr<addrinfo, CAddressListFree>;

// A connected, blocking socket to the address, or -1 when it refused or the deadline passed.
int ConnectBefore(const addrinfo& address, Clock::time_point deadline) {
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            address.ai_protocol);
    if (fd < 0) return -1;
    bool connected = ::connect(fd, address.ai_addr, address.ai_addrlen) == 0;
    while (!connected && (errno == EINPROGRESS || errno == EINTR)) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd waiting{fd, POLLOUT, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        int failure = 0;
        socklen_t size = sizeof failure;
        connected = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) == 0 && failure == 0;
        break;
    }
    const int flags = connected ? ::fcntl(fd, F_GETFL) : -1;
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

ssize_t SendWithoutSignal(int fd, const void* bytes, std::size_t count) {
    // A server that has gone must not end the program with SIGPIPE.
    return ::send(fd, bytes, count, MSG_NOSIGNAL);
}
}  // namespace

CTcpChannel::CTcpChannel(std::string_view name, unsigned connectWaitMs)
    : name_(name), connectWaitMs_(connectWaitMs) {}

CTcpChannel::~CTcpChannel() {
    Close();
}

ChannelOpening CTcpChannel::Open() {
    const std::optional<CNetworkAddress> address = NetworkAddressOf(name_);
    if (!address) return ChannelOpening::Refused;
    addrinfo wanted{};
    wanted.ai_family = AF_UNSPEC;
    wanted.ai_socktype = SOCK_STREAM;
    wanted.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(address->host.c_str(), address->port.c_str(), &wanted, &found) != 0) {
        return ChannelOpening::Refused;
    }
    const CAddressList addresses(found);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(connectWaitMs_);
    for (const addrinfo* each = addresses.get(); each != nullptr && fd_ < 0; each = each->ai_next) {
        fd_ = ConnectBefore(*each, deadline);
    }
    if (fd_ < 0) return ChannelOpening::Refused;
    // Requests are small and wanted at once; without this the link still works, only later.
    const int noDelay = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    return ChannelOpening::Open;
}

void CTcpChannel::Close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

bool CTcpChannel::Purge() {
    std::uint8_t chunk[256];
    for (;;) {
        const ssize_t read = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
        if (read > 0) continue;
        if (read < 0 && errno == EINTR) continue;
        return read < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);  // 0: the server closed
    }
}

bool CTcpChannel::Write(const CDataPackage& package) {
    return WriteWhole(fd_, package, SendWithoutSignal);
}

ChannelRead CTcpChannel::ReadByte(std::uint8_t& byte, unsigned waitMs) {
    return ReadByteWithin(fd_, wake_, byte, waitMs);
}
