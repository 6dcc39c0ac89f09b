#include "update/ChunkFetch.h"

#include <thread>

#include "update/Base64.h"
#include "update/Crc32.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kChunkStep = 5000;
constexpr auto kFastReply = std::chrono::milliseconds(500);

FetchResult FetchOnce(const CRemoteService& service, const COffer& offer, const CPackEntry& entry,
                      const CFetchSettings& settings, CUpdateObserver& observer, int& length,
                      std::string& bytes) {
    const int size = static_cast<int>(entry.size);
    bytes.assign(entry.size, '\0');
    if (length >= size || length < 1) length = size;
    int offset = 1;
    int unanswered = 0;
    while (offset <= size) {
        if (observer.StopRequested()) return FetchResult::Stopped;
        const auto start = Clock::now();
        const CServiceReply reply =
            service.Call(service.ChunkCall(offer.clientId, offer.version, entry.id, offset, length),
                         settings.chunkLimits);
        const auto took = Clock::now() - start;
        bool brought = false;
        if (const JSONArray* elements = reply.Elements()) {
            for (const auto& element : *elements) {
                if (!element->IsObject()) continue;
                const JSONObject& object = element->AsObject();
                const auto file = object.find(u"file");
                if (file == object.end() || !file->second->IsString()) continue;
                brought = true;
                // Bytes beyond the announced size are dropped.
                const std::string decoded = DecodeBase64(NarrowUnits(file->second->AsString()));
                const std::size_t at = static_cast<std::size_t>(offset - 1);
                if (at < bytes.size())
                    bytes.replace(at, std::min(decoded.size(), bytes.size() - at), decoded, 0,
                                  std::min(decoded.size(), bytes.size() - at));
                observer.Advance(static_cast<std::uint64_t>(length));
                offset += length;
                if (offset == size) break;
                if (took < kFastReply) {
                    length += kChunkStep;
                } else if (length > kChunkStep) {
                    length -= kChunkStep / 2;
                }
                if (offset + length > size) length = size - offset;
            }
        }
        if (brought) {
            unanswered = 0;
            continue;
        }
        // The same chunk is asked again, after a pause: a gateway in trouble is not hammered.
        if (++unanswered >= settings.chunkTries) return FetchResult::Unanswered;
        std::this_thread::sleep_for(settings.retryPause);
    }
    return FetchResult::Fetched;
}

}  // namespace

FetchResult FetchFile(const CRemoteService& service, const COffer& offer, const CPackEntry& entry,
                      const CFetchSettings& settings, CUpdateObserver& observer, int& chunkLength,
                      std::string& bytes) {
    for (int attempt = 0; attempt < settings.fileTries; ++attempt) {
        const FetchResult result =
            FetchOnce(service, offer, entry, settings, observer, chunkLength, bytes);
        if (result != FetchResult::Fetched) return result;
        if (Crc32(bytes) == entry.crc) return FetchResult::Fetched;
    }
    return FetchResult::CrcMismatch;
}
