#include "support/FakeGateway.h"

#include <algorithm>
#include <cstdlib>

namespace {
// A pause is slept in slices short enough for the gateway to stop soon.
std::chrono::milliseconds Slice(std::chrono::milliseconds left) {
    return std::min(left, std::chrono::milliseconds(20));
}

// Waits for `client` to be readable, waking now and then to see whether the gateway stops.
bool ReadableUnlessStopped(TestConnection client, const std::atomic<bool>& stop) {
    while (!stop) {
        if (Readable(client, 20)) return true;
    }
    return false;
}
}  // namespace

CFakeGateway::CFakeGateway(THandler handler) : handler_(std::move(handler)) {
    thread_ = std::thread(&CFakeGateway::Serve, this);
}

CFakeGateway::~CFakeGateway() {
    stop_ = true;
    thread_.join();
}

std::vector<std::string> CFakeGateway::Queries() const {
    std::lock_guard lock(mutex_);
    return queries_;
}

std::vector<std::string> CFakeGateway::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

CFakeGateway::CReply CFakeGateway::Json(const std::string& body) {
    return {"HTTP/1.0 200 OK\r\nContent-Type: application/json\r\n\r\n" + body, false};
}

void CFakeGateway::Serve() {
    while (!stop_) {
        const TestConnection client = listener_.Accept(20);
        if (client == kNoConnection) continue;
        Handle(client);
        CloseConnection(client);
    }
}

void CFakeGateway::Handle(TestConnection client) {
    std::string request;
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    char buffer[8192];
    while (headEnd == std::string::npos || request.size() < headEnd + wanted) {
        if (!ReadableUnlessStopped(client, stop_)) return;
        const long got = ReceiveSome(client, buffer, sizeof buffer);
        if (got <= 0) return;
        request.append(buffer, static_cast<std::size_t>(got));
        if (headEnd == std::string::npos &&
            (headEnd = request.find("\r\n\r\n")) != std::string::npos) {
            headEnd += 4;
            const std::size_t length = request.find("Content-length: ");
            if (length != std::string::npos)
                wanted = std::strtoul(request.c_str() + length + 16, nullptr, 10);
        }
    }
    const std::size_t query = request.find("&query=", headEnd);
    const std::string sql = query == std::string::npos ? "" : request.substr(query + 7);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        queries_.push_back(sql);
    }
    const CReply reply = handler_(sql);
    if (reply.hang) {
        // Until the client gives up and closes, or the gateway stops.
        while (ReadableUnlessStopped(client, stop_) &&
               ReceiveSome(client, buffer, sizeof buffer) > 0) {
        }
        return;
    }
    std::size_t sent = 0;
    while (sent < reply.raw.size()) {
        std::size_t size = reply.raw.size() - sent;
        if (reply.drip.count() > 0) {
            for (auto left = reply.drip; left.count() > 0 && !stop_; left -= Slice(left))
                std::this_thread::sleep_for(Slice(left));
            size = 1;
        }
        const long put = SendSome(client, reply.raw.data() + sent, size);
        if (put <= 0) return;
        sent += static_cast<std::size_t>(put);
    }
}

std::string EncodeBase64(const std::string& bytes) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned group = (static_cast<unsigned char>(bytes[i]) << 16) |
                               (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                               static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) text += kAlphabet[(group >> shift) & 63];
    }
    const std::size_t left = bytes.size() - i;
    if (left > 0) {
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (left == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += left == 2 ? kAlphabet[(group >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}
