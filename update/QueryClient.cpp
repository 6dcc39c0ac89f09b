#include "update/QueryClient.h"

#include "Utils/Format.h"
#include "Utils/Socket.h"
#include "app/Log.h"
#include "app/ProgramInfo.h"
#include "update/HttpReply.h"

namespace {
using Clock = CSocket::Clock;

// The time-out from now, or the deadline when that comes first.
Clock::time_point Until(std::chrono::milliseconds timeout,
                        const std::optional<Clock::time_point>& deadline) {
    const Clock::time_point until = Clock::now() + timeout;
    return deadline && *deadline < until ? *deadline : until;
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
    CSocket socket;
    socket.StopWhen(limits.stop);
    // A name look-up is bounded like the connect: the resolver's own retries could outlast
    // the deadline.
    switch (socket.Connect(address_.host, Format("%u", address_.port),
                           Until(limits.connect, limits.deadline), limits.connect,
                           limits.deadline)) {
        case SocketConnect::Connected:
            break;
        case SocketConnect::UnknownHost:
            return PostStatus::UnknownHost;
        case SocketConnect::LookupTimedOut:
            return PostStatus::TimedOut;
        case SocketConnect::NoSocket:
            return PostStatus::NoSocket;
        case SocketConnect::Refused:
            return PostStatus::ConnectFailed;
        case SocketConnect::Stopped:
            return PostStatus::Stopped;
    }

    // Built to whatever length it needs: a long form is never cut.
    std::string request = Format(
        "POST %.*s HTTP/1.0\r\nHost: %s\r\nAccept: application/json\r\nContent-type: "
        "application/x-www-form-urlencoded\r\nContent-length: %zu\r\n\r\n",
        static_cast<int>(path.size()), path.data(), address_.host.c_str(), form.size());
    request.append(form);
    Log.WriteText(HidePassword(request));
    const SocketIo sent =
        socket.SendAll(request.data(), request.size(), Until(limits.read, limits.deadline));
    if (sent == SocketIo::Stopped) return PostStatus::Stopped;
    if (sent != SocketIo::Done) return PostStatus::ConnectFailed;

    CHttpReply received({.maxBody = limits.maxBody});
    char buffer[16384];
    for (;;) {
        std::size_t got = 0;
        const SocketIo io =
            socket.Receive(buffer, sizeof buffer, got, Until(limits.read, limits.deadline));
        if (io == SocketIo::TimedOut) return PostStatus::TimedOut;
        if (io == SocketIo::Stopped) return PostStatus::Stopped;
        if (io != SocketIo::Done) break;
        if (!received.Add({buffer, got})) break;
    }
    return received.Finish(reply);
}
