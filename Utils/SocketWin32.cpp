#include "Utils/Socket.h"

// winsock2.h brings windows.h in after itself; the other way round would bring the old Winsock.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "Utils/WakeFlag.h"

namespace {
using Clock = CSocket::Clock;

// Winsock 2 is started once, on the first socket, and stopped when the program ends.
bool WinsockStarted() {
    struct CWinsock {
        CWinsock() {
            WSADATA data;
            started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        }
        ~CWinsock() {
            if (started) ::WSACleanup();
        }
        bool started = false;
    };
    static const CWinsock winsock;
    return winsock.started;
}

// How often a wait asks the stop request.
constexpr auto kStopCheck = std::chrono::milliseconds(100);

DWORD MsUntil(Clock::time_point until, const std::function<bool()>& stop) {
    // Rounded up, so a wait is never cut short by a fraction of a millisecond.
    auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
    if (stop && left > kStopCheck) left = kStopCheck;
    return left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
}

SOCKET SocketOf(std::intptr_t native) {
    return static_cast<SOCKET>(native);
}

HANDLE HandleOf(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

// The resolver has no time-out of its own: it runs on a thread of its own, which is left to
// finish by itself when the caller stops waiting for it.
struct CLookup {
    std::mutex lock;
    std::condition_variable ended;
    bool done = false;
    bool abandoned = false;
    int result = EAI_FAIL;
    addrinfo* found = nullptr;
};

int LookUp(const std::string& host, const std::string& port,
           const std::optional<Clock::time_point>& until, const std::function<bool()>& stop,
           addrinfo*& found, SocketConnect& failure) {
    const auto lookup = std::make_shared<CLookup>();
    std::thread([lookup, host, port] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        addrinfo* list = nullptr;
        const int result = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &list);
        const std::lock_guard<std::mutex> hold(lookup->lock);
        if (lookup->abandoned) {
            if (list != nullptr) ::freeaddrinfo(list);
            return;
        }
        lookup->result = result;
        lookup->found = list;
        lookup->done = true;
        lookup->ended.notify_all();
    }).detach();
    std::unique_lock<std::mutex> hold(lookup->lock);
    failure = SocketConnect::UnknownHost;
    while (!lookup->done) {
        if (stop && stop()) {
            failure = SocketConnect::Stopped;
            break;
        }
        if (until && Clock::now() >= *until) {
            failure = SocketConnect::LookupTimedOut;
            break;
        }
        Clock::time_point slice = Clock::now() + kStopCheck;
        if (until && *until < slice) slice = *until;
        lookup->ended.wait_until(hold, slice);
    }
    if (!lookup->done) {
        lookup->abandoned = true;
        return EAI_AGAIN;
    }
    found = lookup->found;
    return lookup->result;
}

// Waits for the socket's event until `until`, or for the wake flag, which wins when both come.
enum class Signalled { Socket, Wake, Nothing, Stopped, Failed };
Signalled WaitFor(std::intptr_t event, Clock::time_point until, const CWakeFlag* wake,
                  const std::function<bool()>& stop) {
    HANDLE waiting[2];
    DWORD count = 0;
    if (wake != nullptr && wake->Native() != 0) waiting[count++] = HandleOf(wake->Native());
    waiting[count++] = HandleOf(event);
    for (;;) {
        if (stop && stop()) return Signalled::Stopped;
        const DWORD result =
            ::WaitForMultipleObjects(count, waiting, FALSE, MsUntil(until, stop));
        if (result == WAIT_TIMEOUT) {
            if (Clock::now() >= until) return Signalled::Nothing;
            continue;
        }
        if (result >= WAIT_OBJECT_0 + count) return Signalled::Failed;
        return result == WAIT_OBJECT_0 + count - 1 ? Signalled::Socket : Signalled::Wake;
    }
}

SocketIo IoOf(Signalled signalled) {
    switch (signalled) {
        case Signalled::Nothing:
            return SocketIo::TimedOut;
        case Signalled::Wake:
            return SocketIo::Woken;
        case Signalled::Stopped:
            return SocketIo::Stopped;
        case Signalled::Socket:
        case Signalled::Failed:
            break;
    }
    return SocketIo::Failed;
}

// Clears the network events recorded so far and the event with them: a later wait then wakes
// only for what comes after the next send or receive.
void ClearEvents(std::intptr_t native, std::intptr_t event) {
    WSANETWORKEVENTS events;
    ::WSAEnumNetworkEvents(SocketOf(native), HandleOf(event), &events);
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
    if (!WinsockStarted()) return SocketConnect::NoSocket;
    addrinfo* found = nullptr;
    SocketConnect failure = SocketConnect::UnknownHost;
    if (LookUp(host, port, lookupUntil, stop_, found, failure) != 0 || found == nullptr)
        return failure;
    Clock::time_point connectUntil = Clock::now() + connectWait;
    if (deadline && *deadline < connectUntil) connectUntil = *deadline;
    bool made = false;
    bool stopped = false;
    for (const addrinfo* each = found; each != nullptr && native_ < 0 && !stopped;
         each = each->ai_next) {
        const SOCKET fd = ::socket(each->ai_family, each->ai_socktype, each->ai_protocol);
        if (fd == INVALID_SOCKET) continue;
        const WSAEVENT event = ::WSACreateEvent();
        // The events every later wait needs; the socket is non-blocking from here on.
        if (event == WSA_INVALID_EVENT ||
            ::WSAEventSelect(fd, event, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) != 0) {
            if (event != WSA_INVALID_EVENT) ::WSACloseEvent(event);
            ::closesocket(fd);
            continue;
        }
        made = true;
        bool connected = ::connect(fd, each->ai_addr, static_cast<int>(each->ai_addrlen)) == 0;
        const Signalled signalled =
            connected || ::WSAGetLastError() != WSAEWOULDBLOCK
                ? Signalled::Nothing
                : WaitFor(reinterpret_cast<std::intptr_t>(event), connectUntil, nullptr, stop_);
        stopped = signalled == Signalled::Stopped;
        if (signalled == Signalled::Socket) {
            WSANETWORKEVENTS events;
            connected = ::WSAEnumNetworkEvents(fd, event, &events) == 0 &&
                        (events.lNetworkEvents & FD_CONNECT) != 0 &&
                        events.iErrorCode[FD_CONNECT_BIT] == 0;
        }
        if (connected) {
            native_ = static_cast<std::intptr_t>(fd);
            event_ = reinterpret_cast<std::intptr_t>(event);
        } else {
            ::closesocket(fd);
            ::WSACloseEvent(event);
        }
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
    ::closesocket(SocketOf(native_));
    ::WSACloseEvent(HandleOf(event_));
    native_ = -1;
    event_ = 0;
}

void CSocket::SendAtOnce() {
    const BOOL noDelay = TRUE;
    ::setsockopt(SocketOf(native_), IPPROTO_TCP, TCP_NODELAY,
                 reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
}

SocketIo CSocket::SendAll(const void* bytes, std::size_t size, Clock::time_point until) {
    const auto* next = static_cast<const char*>(bytes);
    while (size > 0) {
        const int chunk = size > 1u << 20 ? 1 << 20 : static_cast<int>(size);
        const int sent = ::send(SocketOf(native_), next, chunk, 0);
        if (sent > 0) {
            next += sent;
            size -= static_cast<std::size_t>(sent);
            continue;
        }
        if (sent == 0 || ::WSAGetLastError() != WSAEWOULDBLOCK) return SocketIo::Failed;
        // Room is told by FD_WRITE after a send that would have blocked; whatever was recorded
        // before is cleared, and the send tried once more in case the room came meanwhile.
        ClearEvents(native_, event_);
        const int again = ::send(SocketOf(native_), next, chunk, 0);
        if (again > 0) {
            next += again;
            size -= static_cast<std::size_t>(again);
            continue;
        }
        if (again == 0 || ::WSAGetLastError() != WSAEWOULDBLOCK) return SocketIo::Failed;
        const Signalled signalled = WaitFor(event_, until, nullptr, stop_);
        if (signalled != Signalled::Socket) return IoOf(signalled);
    }
    return SocketIo::Done;
}

SocketIo CSocket::Receive(void* into, std::size_t size, std::size_t& received,
                          Clock::time_point until, const CWakeFlag* wake) {
    received = 0;
    const int chunk = size > 1u << 20 ? 1 << 20 : static_cast<int>(size);
    for (;;) {
        if (wake != nullptr && ::WaitForSingleObject(HandleOf(wake->Native()), 0) == WAIT_OBJECT_0)
            return SocketIo::Woken;
        // Cleared before the receive: bytes that come after it set the event again.
        ClearEvents(native_, event_);
        const int got = ::recv(SocketOf(native_), static_cast<char*>(into), chunk, 0);
        if (got > 0) {
            received = static_cast<std::size_t>(got);
            return SocketIo::Done;
        }
        if (got == 0) return SocketIo::Closed;
        if (::WSAGetLastError() != WSAEWOULDBLOCK) return SocketIo::Failed;
        const Signalled signalled = WaitFor(event_, until, wake, stop_);
        if (signalled != Signalled::Socket) return IoOf(signalled);
    }
}

bool CSocket::Drain() {
    char chunk[256];
    for (;;) {
        const int read = ::recv(SocketOf(native_), chunk, sizeof chunk, 0);
        if (read > 0) continue;
        return read < 0 && ::WSAGetLastError() == WSAEWOULDBLOCK;  // 0: the peer closed
    }
}
