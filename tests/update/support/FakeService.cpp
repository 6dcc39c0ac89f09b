#include "support/FakeService.h"

#include <cstdio>

#include "update/Crc32.h"

namespace {
bool ReadChunkCall(const std::string& query, CFakeService::CChunk& chunk) {
    char id[64] = {};
    int offset = 0;
    int length = 0;
    if (std::sscanf(query.c_str(), "call dorn_main.fetch_file(%*[^,], '%*[^']', %63[^,], %d, %d);",
                    id, &offset, &length) != 3)
        return false;
    chunk = {id, offset, length};
    return true;
}
}  // namespace

std::vector<CFakeService::CChunk> CFakeService::Chunks() const {
    std::vector<CChunk> chunks;
    for (const std::string& query : gateway.Queries()) {
        CChunk chunk;
        if (ReadChunkCall(query, chunk)) chunks.push_back(chunk);
    }
    return chunks;
}

std::string CFakeService::PackJson() const {
    std::string json = "[";
    for (const CFile& file : files) {
        if (json.size() > 1) json += ",";
        const std::string crc = file.crcText.value_or(std::to_string(Crc32(file.bytes)));
        json += R"({"id":")" + file.id + R"(","name":")" + file.name + R"(","dst":")" + file.dst +
                R"(","size":")" + std::to_string(file.bytes.size()) + R"(","crc":")" + crc + "\"}";
    }
    return json + "]";
}

CFakeGateway::CReply CFakeService::Answer(const std::string& query) {
    if (query == "call identify();") return CFakeGateway::Json(identify);
    if (query.rfind("call dorn_main.get_project_info(", 0) == 0)
        return CFakeGateway::Json(projectInfo);
    if (query.rfind("call dorn_main.get_project_pack(", 0) == 0)
        return CFakeGateway::Json(pack.value_or(PackJson()));
    CChunk chunk;
    if (!ReadChunkCall(query, chunk)) return CFakeGateway::Json("[]");
    for (CFile& file : files) {
        if (file.id != chunk.id) continue;
        if (file.hang) return CFakeGateway::Hang();
        if (file.unanswered) return CFakeGateway::Json(R"([{"other":"x"}])");
        const std::size_t at = static_cast<std::size_t>(chunk.offset - 1);
        std::string bytes = at < file.bytes.size() ? file.bytes.substr(at, chunk.length) : "";
        if (file.corruptReplies > 0 && !bytes.empty()) {
            --file.corruptReplies;
            bytes[0] = static_cast<char>(bytes[0] ^ 0x5A);
        }
        std::string reply = R"([{"file":")" + EncodeBase64(bytes) + "\"}";
        for (int i = 1; i < file.elements; ++i) reply += R"(,{"file":"AAAA"})";
        return CFakeGateway::Drip(CFakeGateway::Json(reply + "]"), file.drip);
    }
    return CFakeGateway::Json("[]");
}
