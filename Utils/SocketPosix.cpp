#include "Utils/Socket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "Utils/WakeFlag.h"

namespace {
using Clock = CSocket::Clock;

// How often a wait asks the stop request.
constexpr auto kStopCheck = std::chrono::milliseconds(100);

int MsUntil(Clock::time_point until, const std::function<bool()>& stop) {
    // Rounded up, so a wait is never cut short by a fraction of a millisecond.
    auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
    if (stop && left > kStopCheck) left = kStopCheck;
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

enum class Waited { Ready, TimedOut, Woken, Stopped, Failed };

// Waits for `events` on `fd` until `until`, or for the wake flag, which wins when both come.
Waited WaitFor(int fd, short events, Clock::time_point until, const CWakeFlag* wake,
               const std::function<bool()>& stop) {
    for (;;) {
        if (stop && stop()) return Waited::Stopped;
        pollfd waiting[] = {{fd, events, 0},
                            {wake != nullptr ? static_cast<int>(wake->Native()) : -1, POLLIN, 0}};
        const int ready = ::poll(waiting, 2, MsUntil(until, stop));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return Waited::Failed;
        if ((waiting[1].revents & POLLIN) != 0) return Waited::Woken;
        if (ready > 0) return Waited::Ready;
        if (Clock::now() >= until) return Waited::TimedOut;
    }
}

// A name look-up bounded by `until`: the resolver's own retries could outlast it. A look-up
// that cannot be cancelled is left to finish on its own; its request is not freed while the
// resolver may still write to it.
struct CLookup {
    std::string host;
    std::string port;
    addrinfo hints{};
    gaicb request{};
};

int LookUp(const std::string& host, const std::string& port,
           const std::optional<Clock::time_point>& until, const std::function<bool()>& stop,
           addrinfo*& found) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    auto* lookup = new CLookup{host, port, hints};
    lookup->request.ar_name = lookup->host.c_str();
    lookup->request.ar_service = lookup->port.c_str();
    lookup->request.ar_request = &lookup->hints;
    gaicb* requests[] = {&lookup->request};
    if (::getaddrinfo_a(GAI_NOWAIT, requests, 1, nullptr) != 0) {
        delete lookup;
        return EAI_FAIL;
    }
    bool stopped = false;
    while (::gai_error(&lookup->request) == EAI_INPROGRESS) {
        if (stop && stop()) {
            stopped = true;
            break;
        }
        Clock::duration left = until ? *until - Clock::now() : Clock::duration(kStopCheck);
        if (left <= Clock::duration::zero()) break;
        if (stop && left > kStopCheck) left = kStopCheck;
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        const timespec wait{static_cast<time_t>(seconds.count()),
                            static_cast<long>((left - seconds) / std::chrono::nanoseconds(1))};
        const gaicb* const waiting[] = {&lookup->request};
        ::gai_suspend(waiting, 1, &wait);
    }
    const int result = ::gai_error(&lookup->request);
    if (result == EAI_INPROGRESS) {
        if (::gai_cancel(&lookup->request) == EAI_CANCELED) delete lookup;
        return stopped ? EAI_CANCELED : EAI_INPROGRESS;
    }
    found = result == 0 ? lookup->request.ar_result : nullptr;
    delete lookup;
    return result;
}

// A connected non-blocking socket to the address, or -1 when it refused or the time ran out;
// `made` tells whether a socket could be made at all.
int ConnectBy(const addrinfo& address, Clock::time_point until, const std::function<bool()>& stop,
              bool& made, bool& stopped) {
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            address.ai_protocol);
    if (fd < 0) return -1;
    made = true;
    bool connected = ::connect(fd, address.ai_addr, address.ai_addrlen) == 0;
    if (!connected && (errno == EINPROGRESS || errno == EINTR)) {
        const Waited waited = WaitFor(fd, POLLOUT, until, nullptr, stop);
        stopped = waited == Waited::Stopped;
        if (waited == Waited::Ready) {
            int failure = 0;
            socklen_t size = sizeof failure;
            connected =
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) == 0 && failure == 0;
        }
    }
    if (connected) return fd;
    ::close(fd);
    return -1;
}
SocketIo IoOf(Waited waited) {
    switch (waited) {
        case Waited::TimedOut:
            return SocketIo::TimedOut;
        case Waited::Woken:
            return SocketIo::Woken;
        case Waited::Stopped:
            return SocketIo::Stopped;
        case Waited::Ready:
        case Waited::Failed:
            break;
    }
    return SocketIo::Failed;
}
}  // namespace

CSocket::~CSocket() {
    Close();
}

SocketConnect CSocket::Connect(const std::string& host, const std::string& port,
                               std::optional<Clock::time_point> lookupUntil,
                               std::chrono::milliseconds connectWait,
                               std::optional<Clock::time_point> deadline) {
    Close();
    addrinfo* found = nullptr;
    const int lookedUp = LookUp(host, port, lookupUntil, stop_, found);
    if (lookedUp == EAI_CANCELED) return SocketConnect::Stopped;
    if (lookedUp == EAI_INPROGRESS) return SocketConnect::LookupTimedOut;
    if (lookedUp != 0 || found == nullptr) return SocketConnect::UnknownHost;
    Clock::time_point connectUntil = Clock::now() + connectWait;
    if (deadline && *deadline < connectUntil) connectUntil = *deadline;
    bool made = false;
    bool stopped = false;
    for (const addrinfo* each = found; each != nullptr && native_ < 0 && !stopped;
         each = each->ai_next) {
        native_ = ConnectBy(*each, connectUntil, stop_, made, stopped);
    }
    ::freeaddrinfo(found);
    if (native_ >= 0) return SocketConnect::Connected;
    if (stopped) return SocketConnect::Stopped;
    return made ? SocketConnect::Refused : SocketConnect::NoSocket;
}

bool CSocket::IsOpen() const {
    return native_ >= 0;
}

void CSocket::Close() {
    if (native_ < 0) return;
    ::close(static_cast<int>(native_));
    native_ = -1;
}

void CSocket::SendAtOnce() {
    const int noDelay = 1;
    ::setsockopt(static_cast<int>(native_), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
}

SocketIo CSocket::SendAll(const void* bytes, std::size_t size, Clock::time_point until) {
    const int fd = static_cast<int>(native_);
    const auto* next = static_cast<const char*>(bytes);
    while (size > 0) {
        const Waited waited = WaitFor(fd, POLLOUT, until, nullptr, stop_);
        if (waited != Waited::Ready) return IoOf(waited);
        const ssize_t sent = ::send(fd, next, size, MSG_NOSIGNAL);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (sent <= 0) return SocketIo::Failed;
        next += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return SocketIo::Done;
}

SocketIo CSocket::Receive(void* into, std::size_t size, std::size_t& received,
                          Clock::time_point until, const CWakeFlag* wake) {
    const int fd = static_cast<int>(native_);
    received = 0;
    for (;;) {
        const Waited waited = WaitFor(fd, POLLIN, until, wake, stop_);
        if (waited != Waited::Ready) return IoOf(waited);
        const ssize_t got = ::recv(fd, into, size, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got < 0) return SocketIo::Failed;
        if (got == 0) return SocketIo::Closed;
        received = static_cast<std::size_t>(got);
        return SocketIo::Done;
    }
}

bool CSocket::Drain() {
    char chunk[256];
    for (;;) {
        const ssize_t read = ::recv(static_cast<int>(native_), chunk, sizeof chunk, MSG_DONTWAIT);
        if (read > 0) continue;
        if (read < 0 && errno == EINTR) continue;
        return read < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);  // 0: the peer closed
    }
}
