// A gateway's reply of any bytes, in any pieces: the reading honours its bounds, succeeds only
// for an HTTP/1.x 200 status line, and does not depend on how the bytes were cut.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "update/HttpReply.h"

namespace {
struct CRead {
    PostStatus status;
    std::string body;
};

// Fed as PostQuery feeds it, in pieces of the given sizes in turn (whole without sizes), until
// it is refused.
CRead ReadInPieces(std::string_view reply, const CReplyBounds& bounds, std::string_view sizes) {
    CHttpReply reading(bounds);
    for (std::size_t piece = 0; !reply.empty(); ++piece) {
        const std::size_t size = sizes.empty()
                                     ? reply.size()
                                     : 1 + static_cast<unsigned char>(sizes[piece % sizes.size()]);
        const std::string_view next = reply.substr(0, size);
        reply.remove_prefix(next.size());
        if (!reading.Add(next)) break;
    }
    CRead read{PostStatus::Ok, "stale"};
    read.status = reading.Finish(read.body);
    return read;
}

bool OkStatusLine(std::string_view head) {
    if (head.size() < 12 || !head.starts_with("HTTP/1.") || head[7] < '0' || head[7] > '9' ||
        head.substr(8, 4) != " 200")
        return false;
    return head.size() == 12 || head[12] == ' ' || head[12] == '\r' || head[12] == '\n';
}
}  // namespace

// Two bytes of bounds, four of piece sizes, then the reply.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const CReplyBounds bounds{static_cast<std::size_t>(data[0]) * 4, data[1]};
    const std::string_view reply = input.substr(6);

    const CRead whole = ReadInPieces(reply, bounds, {});
    const CRead pieces = ReadInPieces(reply, bounds, input.substr(2, 4));
    FUZZ_CHECK(whole.status == pieces.status && whole.body == pieces.body);

    const CRead byDefault = ReadInPieces(reply, CReplyBounds{}, {});
    for (const CRead* read : {&whole, &byDefault}) {
        const PostStatus status = read->status;
        FUZZ_CHECK(status == PostStatus::Ok || status == PostStatus::NotOk ||
                   status == PostStatus::TooLarge || status == PostStatus::Truncated);
        if (status != PostStatus::Ok) {
            FUZZ_CHECK(read->body.empty());
            continue;
        }
        FUZZ_CHECK(reply.ends_with(read->body));
        const std::string_view head = reply.substr(0, reply.size() - read->body.size());
        FUZZ_CHECK(OkStatusLine(head) && head.ends_with('\n'));
    }
    FUZZ_CHECK(whole.status != PostStatus::Ok || whole.body.size() <= bounds.maxBody);
    FUZZ_CHECK(whole.status != PostStatus::Ok ||
               reply.size() - whole.body.size() <= bounds.maxHead);
    return 0;
}
