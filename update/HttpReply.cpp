#include "update/HttpReply.h"

namespace {
// Where the head ends: after the first line feed that closes an empty line (carriage returns
// do not count as characters of a line). npos while the head goes on.
std::size_t HeadEnd(std::string_view received) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (received[i] == '\n') {
            if (count == 0) return i + 1;
            count = 0;
        } else if (received[i] != '\r') {
            ++count;
        }
    }
    return std::string_view::npos;
}

// Only a status line "HTTP/1.x 200" counts: a "200" elsewhere in the head is no success.
bool StatusIsOk(std::string_view head) {
    const std::string_view line = head.substr(0, head.find('\n'));
    if (line.size() < 12 || line.substr(0, 7) != "HTTP/1." || line[7] < '0' || line[7] > '9')
        return false;
    if (line.substr(8, 4) != " 200") return false;
    return line.size() == 12 || line[12] == ' ' || line[12] == '\r';
}
}  // namespace

bool CHttpReply::Add(std::string_view bytes) {
    if (refused_ != PostStatus::Ok) return false;
    received_.append(bytes);
    if (bodyStart_ == std::string::npos) {
        bodyStart_ = HeadEnd(received_);
        // Over the bound whether its end has come or not, so that how the bytes were cut
        // never decides.
        const std::size_t head = bodyStart_ == std::string::npos ? received_.size() : bodyStart_;
        if (head > bounds_.maxHead) {
            refused_ = PostStatus::TooLarge;
            return false;
        }
        if (bodyStart_ != std::string::npos && !StatusIsOk(received_)) {
            refused_ = PostStatus::NotOk;
            return false;
        }
    }
    if (bodyStart_ != std::string::npos && received_.size() - bodyStart_ > bounds_.maxBody) {
        refused_ = PostStatus::TooLarge;
        return false;
    }
    return true;
}

PostStatus CHttpReply::Finish(std::string& body) {
    body.clear();
    if (refused_ != PostStatus::Ok) return refused_;
    if (bodyStart_ == std::string::npos) return PostStatus::Truncated;
    received_.erase(0, bodyStart_);
    body = std::move(received_);
    return PostStatus::Ok;
}
