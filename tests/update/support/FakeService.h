#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/FakeGateway.h"
#include "update/QueryClient.h"

// The service's four procedures over a fake gateway: identify, the project's version, the
// pack list of `files` and their chunks, in Base64, as the real service serves them.
class CFakeService {
public:
    struct CFile {
        std::string id;
        std::string name;
        std::string dst;
        std::string bytes;
        std::optional<std::string> crcText;  // else the CRC-32 of the bytes
        int corruptReplies = 0;              // this many chunk replies carry a flipped byte
        bool unanswered = false;             // chunk calls get a reply without "file"
        bool hang = false;                   // chunk calls get no word at all
        std::chrono::milliseconds drip{0};   // chunk replies come a byte per this pause
        int elements = 1;                    // chunk replies hold this many "file" elements
    };
    struct CChunk {
        std::string id;
        int offset;
        int length;
        bool operator==(const CChunk&) const = default;
    };

    std::string identify = R"([{"id":"7","finger":"fp1","name":"pc","host":"h"}])";
    std::string projectInfo = R"([{"project_version":"v.0.06","project_id":"24"}])";
    std::optional<std::string> pack;  // else the pack list of `files`
    std::vector<CFile> files;

    CGatewayAddress Address() const { return {"127.0.0.1", gateway.Port()}; }
    std::vector<CChunk> Chunks() const;
    std::string PackJson() const;

    CFakeGateway gateway{[this](const std::string& query) { return Answer(query); }};

private:
    CFakeGateway::CReply Answer(const std::string& query);
};
