#include "update/QueryClient.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
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

enum class Wait { Ready, TimedOut, Stopped };

// Waits for `events` until the time-out or the deadline, whichever comes first, looking at the
// stop request every kStopCheck.
Wait WaitFor(int fd, short events, std::chrono::milliseconds timeout, const CPostLimits& limits) {
    Clock::time_point until = Clock::now() + timeout;
    if (limits.deadline && *limits.deadline < until) until = *limits.deadline;
    for (;;) {
        if (limits.stop && limits.stop()) return Wait::Stopped;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return Wait::TimedOut;
        pollfd ready{fd, events, 0};
        const int result =
            poll(&ready, 1, static_cast<int>(std::min<long long>(left, kStopCheck.count())));
        if (result > 0) return Wait::Ready;
        if (result < 0 && errno != EINTR) return Wait::TimedOut;
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
                  PostStatus& failure) {
    failure = PostStatus::UnknownHost;
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
        if (limits.stop && limits.stop()) {
            failure = PostStatus::Stopped;
            break;
        }
        const auto left = std::min<Clock::duration>(until - Clock::now(), kStopCheck);
        if (left <= Clock::duration::zero()) {
            failure = PostStatus::TimedOut;
            break;
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        const timespec wait{static_cast<time_t>(seconds.count()),
                            static_cast<long>((left - seconds) / std::chrono::nanoseconds(1))};
        const gaicb* const waiting[] = {&lookup->request};
        gai_suspend(waiting, 1, &wait);
    }
    const int result = gai_error(&lookup->request);
    if (result == EAI_INPROGRESS) {
        if (gai_cancel(&lookup->request) == EAI_CANCELED) delete lookup;
        return nullptr;
    }
    addrinfo* found = result == 0 ? lookup->request.ar_result : nullptr;
    delete lookup;
    return found;
}

PostStatus Connect(int fd, const addrinfo& address, const CPostLimits& limits) {
    if (connect(fd, address.ai_addr, address.ai_addrlen) == 0) return PostStatus::Ok;
    if (errno != EINPROGRESS) return PostStatus::ConnectFailed;
    const Wait wait = WaitFor(fd, POLLOUT, limits.connect, limits);
    if (wait == Wait::Stopped) return PostStatus::Stopped;
    if (wait != Wait::Ready) return PostStatus::ConnectFailed;
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0
               ? PostStatus::Ok
               : PostStatus::ConnectFailed;
}

PostStatus SendAll(int fd, std::string_view data, const CPostLimits& limits) {
    while (!data.empty()) {
        const Wait wait = WaitFor(fd, POLLOUT, limits.read, limits);
        if (wait == Wait::Stopped) return PostStatus::Stopped;
        if (wait != Wait::Ready) return PostStatus::ConnectFailed;
        const ssize_t sent = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (sent <= 0) return PostStatus::ConnectFailed;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return PostStatus::Ok;
}
}  // namespace

std::string BuildQueryForm(const CProgramInfo& info, std::string_view sql) {
    return Format("host=%s&username=%s&password=%s&database=%s&query=%.*s", info.GetDatabaseHost(),
                  info.GetUserName(), info.GetPassword(), info.GetDatabaseName(),
                  static_cast<int>(sql.size()), sql.data());
}

std::string HidePassword(std::string_view text) {
    // The password goes in as it is, "&" and all: it ends where the next field of the form starts.
    constexpr std::string_view kField = "&password=";
    constexpr std::string_view kNext = "&database=";
    const std::size_t start = text.find(kField);
    if (start == std::string_view::npos) return std::string(text);
    const std::size_t value = start + kField.size();
    const std::size_t end = text.find(kNext, value);
    if (end == std::string_view::npos) return std::string(text);
    return std::string(text.substr(0, value)) + "***" + std::string(text.substr(end));
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
        case PostStatus::Stopped:
            return "stopped";
    }
    return "unknown";
}

PostStatus CQueryClient::PostQuery(std::string_view path, std::string_view form, std::string& reply,
                                   const CPostLimits& limits) const {
    reply.clear();
    PostStatus failure = PostStatus::Ok;
    addrinfo* found = Resolve(address_.host, address_.port, limits, failure);
    if (found == nullptr) return failure;
    const addrinfo address = *found;
    CSocket socket_(socket(address.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const PostStatus connected =
        socket_.fd() >= 0 ? Connect(socket_.fd(), address, limits) : PostStatus::NoSocket;
    freeaddrinfo(found);
    if (connected != PostStatus::Ok) return connected;

    // Built to whatever length it needs: a long form is never cut.
    std::string request = Format(
        "POST %.*s HTTP/1.0\r\nHost: %s\r\nAccept: application/json\r\nContent-type: "
        "application/x-www-form-urlencoded\r\nContent-length: %zu\r\n\r\n",
        static_cast<int>(path.size()), path.data(), address_.host.c_str(), form.size());
    request.append(form);
    Log.WriteText(HidePassword(request));
    if (const PostStatus sent = SendAll(socket_.fd(), request, limits); sent != PostStatus::Ok)
        return sent;

    CHttpReply received({.maxBody = limits.maxBody});
    char buffer[16384];
    for (;;) {
        const Wait wait = WaitFor(socket_.fd(), POLLIN, limits.read, limits);
        if (wait == Wait::Stopped) return PostStatus::Stopped;
        if (wait != Wait::Ready) return PostStatus::TimedOut;
        const ssize_t got = recv(socket_.fd(), buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) break;
        if (!received.Add({buffer, static_cast<std::size_t>(got)})) break;
    }
    return received.Finish(reply);
}
