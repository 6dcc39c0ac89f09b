#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "update/QueryClient.h"

// How much of a reply is taken: the head (status line and header lines) and the body.
struct CReplyBounds {
    std::size_t maxHead = 64u << 10;
    std::size_t maxBody = 96u << 20;
};

// A gateway's HTTP reply read as its bytes come in, until the peer closes. Only a status line
// "HTTP/1.x 200" is a success; a refused reply stays refused whatever follows.
class CHttpReply {
public:
    explicit CHttpReply(CReplyBounds bounds) : bounds_(bounds) {}

    // Takes the next bytes off the link; false once the reply is refused (another status, or
    // a head or body over its bound), when reading on is of no use.
    bool Add(std::string_view bytes);
    // At the peer's close: Ok with the body, the reason of a refusal, or Truncated when the
    // head never ended. `body` is empty unless Ok. Hands the bytes over: call it once.
    PostStatus Finish(std::string& body);

private:
    CReplyBounds bounds_;
    std::string received_;
    std::size_t bodyStart_ = std::string::npos;
    PostStatus refused_ = PostStatus::Ok;
};
