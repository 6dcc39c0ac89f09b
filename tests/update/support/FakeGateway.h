#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/LoopbackListener.h"

// A stand-in for the service's HTTP gateway on a loopback port of its own. Each connection's
// request is read whole, its `query` field handed to the handler, and the handler's reply
// written back before the connection is closed. A Hang reply keeps the connection open
// without a word until the client gives up; a Drip reply sends its bytes one at a time.
class CFakeGateway {
public:
    struct CReply {
        std::string raw;  // the whole response, head and body
        bool hang = false;
        std::chrono::milliseconds drip{0};  // the pause before each byte
    };
    using THandler = std::function<CReply(const std::string& query)>;

    explicit CFakeGateway(THandler handler);
    ~CFakeGateway();

    unsigned short Port() const { return listener_.Port(); }
    std::vector<std::string> Queries() const;
    std::vector<std::string> Requests() const;  // each request as received, whole

    static CReply Json(const std::string& body);
    static CReply Hang() { return {"", true}; }
    static CReply Drip(CReply reply, std::chrono::milliseconds pause) {
        reply.drip = pause;
        return reply;
    }

private:
    void Serve();
    void Handle(TestConnection client);

    THandler handler_;
    CLoopbackListener listener_;
    std::atomic<bool> stop_ = false;
    mutable std::mutex mutex_;
    std::vector<std::string> queries_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

std::string EncodeBase64(const std::string& bytes);
