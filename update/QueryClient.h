#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class CProgramInfo;

// The form body of one remote call: the connection fields of `info` and the SQL call text,
// inserted as they are (the service expects them unescaped).
std::string BuildQueryForm(const CProgramInfo& info, std::string_view sql);
// The text with the form's password shown as "***", for the log.
std::string HidePassword(std::string_view text);

// How a post ended. Only Ok carries a reply body; the rest say why there is none.
enum class PostStatus {
    Ok = 0,
    NoSocket = -100,
    UnknownHost = -101,
    ConnectFailed = -102,
    TimedOut = -103,
    NotOk = -104,      // the status line is not HTTP/1.x 200
    TooLarge = -105,   // the head or the body is over its bound
    Truncated = -106,  // the peer closed before the head was over
    Stopped = -107,    // the caller asked to stop while the call waited
};
const char* PostStatusText(PostStatus status);

// Where the gateway listens: the deployment host on port 80, or a test's fake one.
struct CGatewayAddress {
    std::string host;
    unsigned short port = 80;
};

// A gateway that accepts and never answers, or answers a byte at a time, must not hold a caller
// for ever: connecting and every read wait at most their time-out, and the whole call ends by
// the deadline when there is one. A waiting call asks `stop` every kStopCheck and ends when it
// says so.
struct CPostLimits {
    std::chrono::milliseconds connect{3000};
    std::chrono::milliseconds read{5000};
    std::optional<std::chrono::steady_clock::time_point> deadline;
    std::size_t maxBody = 96u << 20;
    std::function<bool()> stop;
};
constexpr std::chrono::milliseconds kStopCheck{100};

// Posts one form to the gateway with HTTP/1.0 and reads the reply until the peer closes.
class CQueryClient {
public:
    explicit CQueryClient(CGatewayAddress address) : address_(std::move(address)) {}

    const CGatewayAddress& Address() const { return address_; }
    // `reply` holds the body when the result is Ok and is empty otherwise. The request is
    // logged before it is sent, whole but for the password.
    PostStatus PostQuery(std::string_view path, std::string_view form, std::string& reply,
                         const CPostLimits& limits) const;

private:
    CGatewayAddress address_;
};
