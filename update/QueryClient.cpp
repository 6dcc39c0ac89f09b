#include "update/QueryClient.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "Utils/Format.h"
#include "app/Log.h"
#include "app/ProgramInfo.h"
#include "update/HttpReply.h"

namespace {

using Clock = std::chrono::steady_clock;

class CSocket {
public:
    explicit CSocket(int fd) : fd_(fd) {}
    ~CSocket() {
        if (fd_ >= 0) close(fd_);
    }
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Waits for `events` until the time-out or the deadline, whichever comes first.
bool WaitFor(int fd, short events, std::chrono::milliseconds timeout,
             const std::optional<Clock::time_point>& deadline) {
    Clock::time_point until = Clock::now() + timeout;
    if (deadline && *deadline < until) until = *deadline;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return false;
        pollfd ready{fd, events, 0};
        const int result = poll(&ready, 1, static_cast<int>(left));
        if (result > 0) return true;
        if (result == 0) return false;
        if (errno != EINTR) return false;
    }
}

// A name lookup bounded like the connect: the resolver's own retries could outlast the deadline.
// A lookup that cannot be cancelled is left to finish on its own; its request is not freed
// while the resolver may still write to it.
struct CLookup {
    std::string host;
    std::string port;
    addrinfo hints{};
    gaicb request{};
};

addrinfo* Resolve(const std::string& host, unsigned short port, const CPostLimits& limits,
                  bool& timedOut) {
    auto* lookup = new CLookup{host, Format("%u", port)};
    lookup->hints.ai_family = AF_UNSPEC;
    lookup->hints.ai_socktype = SOCK_STREAM;
    lookup->request.ar_name = lookup->host.c_str();
    lookup->request.ar_service = lookup->port.c_str();
    lookup->request.ar_request = &lookup->hints;
    gaicb* requests[] = {&lookup->request};
    if (getaddrinfo_a(GAI_NOWAIT, requests, 1, nullptr) != 0) {
        delete lookup;
        return nullptr;
    }
    Clock::time_point until = Clock::now() + limits.connect;
    if (limits.deadline && *limits.deadline < until) until = *limits.deadline;
    while (gai_error(&lookup->request) == EAI_INPROGRESS) {
        const auto left = until - Clock::now();
        if (left <= Clock::duration::zero()) break;
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        const timespec wait{static_cast<time_t>(seconds.count()),
                            static_cast<long>((left - seconds) / std::chrono::nanoseconds(1))};
        const gaicb* const waiting[] = {&lookup->request};
        gai_suspend(waiting, 1, &wait);
    }
    const int result = gai_error(&lookup->request);
    if (result == EAI_INPROGRESS) {
        timedOut = true;
        if (gai_cancel(&lookup->request) == EAI_CANCELED) delete lookup;
        return nullptr;
    }
    addrinfo* found = result == 0 ? lookup->request.ar_result : nullptr;
    delete lookup;
    return found;
}

bool Connect(int fd, const addrinfo& address, const CPostLimits& limits) {
    if (connect(fd, address.ai_addr, address.ai_addrlen) == 0) return true;
    if (errno != EINPROGRESS) return false;
    if (!WaitFor(fd, POLLOUT, limits.connect, limits.deadline)) return false;
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

bool SendAll(int fd, std::string_view data, const CPostLimits& limits) {
    while (!data.empty()) {
        if (!WaitFor(fd, POLLOUT, limits.read, limits.deadline)) return false;
        const ssize_t sent = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (sent <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}
}  // namespace

std::string BuildQueryForm(const CProgramInfo& info, std::string_view sql) {
    return Format("host=%s&username=%s&password=%s&database=%s&query=%.*s", info.GetDatabaseHost(),
                  info.GetUserName(), info.GetPassword(), info.GetDatabaseName(),
                  static_cast<int>(sql.size()), sql.data());
}

const char* PostStatusText(PostStatus status) {
    switch (status) {
        case PostStatus::Ok:
            return "answered";
        case PostStatus::NoSocket:
            return "no socket";
        case PostStatus::UnknownHost:
            return "unknown gateway host";
        case PostStatus::ConnectFailed:
            return "gateway unreachable";
        case PostStatus::TimedOut:
            return "gateway did not answer in time";
        case PostStatus::NotOk:
            return "gateway refused the call";
        case PostStatus::TooLarge:
            return "reply too large";
        case PostStatus::Truncated:
            return "reply cut off";
    }
    return "unknown";
}

PostStatus CQueryClient::PostQuery(std::string_view path, std::string_view form, std::string& reply,
                                   const CPostLimits& limits) const {
    reply.clear();
    bool lookupTimedOut = false;
    addrinfo* found = Resolve(address_.host, address_.port, limits, lookupTimedOut);
    if (found == nullptr) return lookupTimedOut ? PostStatus::TimedOut : PostStatus::UnknownHost;
    const addrinfo address = *found;
    CSocket socket_(socket(address.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const bool connected = socket_.fd() >= 0 && Connect(socket_.fd(), address, limits);
    freeaddrinfo(found);
    if (socket_.fd() < 0) return PostStatus::NoSocket;
    if (!connected) return PostStatus::ConnectFailed;

    // Built to whatever length it needs: a long form is never cut.
    std::string request = Format(
        "POST %.*s HTTP/1.0\r\nHost: %s\r\nAccept: application/json\r\nContent-type: "
        "application/x-www-form-urlencoded\r\nContent-length: %zu\r\n\r\n",
        static_cast<int>(path.size()), path.data(), address_.host.c_str(), form.size());
    request.append(form);
    Log.WriteText(request);
    if (!SendAll(socket_.fd(), request, limits)) return PostStatus::ConnectFailed;

    CHttpReply received({.maxBody = limits.maxBody});
    char buffer[16384];
    for (;;) {
        if (!WaitFor(socket_.fd(), POLLIN, limits.read, limits.deadline))
            return PostStatus::TimedOut;
        const ssize_t got = recv(socket_.fd(), buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) break;
        if (!received.Add({buffer, static_cast<std::size_t>(got)})) break;
    }
    return received.Finish(reply);
}
