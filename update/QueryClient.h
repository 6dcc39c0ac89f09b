#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class CProgramInfo;

// The form body of one remote call: the connection fields of `info` and the SQL call text,
// inserted as they are (the service expects them unescaped).
std::string BuildQueryForm(const CProgramInfo& info, std::string_view sql);

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
};
const char* PostStatusText(PostStatus status);

// Where the gateway listens: the deployment host on port 80, or a test's fake one.
struct CGatewayAddress {
    std::string host;
    unsigned short port = 80;
};

// A gateway that accepts and never answers must not hold a caller for ever: connecting and
// every read wait at most their time-out, and no longer than the deadline when there is one.
struct CPostLimits {
    std::chrono::milliseconds connect{3000};
    std::chrono::milliseconds read{5000};
    std::optional<std::chrono::steady_clock::time_point> deadline;
    std::size_t maxBody = 96u << 20;
};

// Posts one form to the gateway with HTTP/1.0 and reads the reply until the peer closes.
class CQueryClient {
public:
    explicit CQueryClient(CGatewayAddress address) : address_(std::move(address)) {}

    const CGatewayAddress& Address() const { return address_; }
    // `reply` holds the body when the result is Ok and is empty otherwise. The request is
    // logged whole before it is sent.
    PostStatus PostQuery(std::string_view path, std::string_view form, std::string& reply,
                         const CPostLimits& limits) const;

private:
    CGatewayAddress address_;
};
