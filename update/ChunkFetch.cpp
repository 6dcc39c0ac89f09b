#include "update/ChunkFetch.h"

#include <algorithm>
#include <thread>

#include "update/Base64.h"
#include "update/Crc32.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kChunkStep = 5000;
// The longest chunk asked for: its reply and the reply's parsed text stay a few megabytes.
constexpr int kMaxChunk = 1 << 20;
constexpr auto kFastReply = std::chrono::milliseconds(500);
// Room in a chunk reply beyond the Base64 text of the bytes asked for: the JSON around it.
constexpr std::size_t kReplySlack = 4096;

// The Base64 text of a chunk's one "file" element: exactly one element is taken, whatever else
// the reply holds, so a reply cannot move the offset more than once.
const JSONValue* ChunkText(const CServiceReply& reply) {
    const JSONArray* elements = reply.Elements();
    if (elements == nullptr) return nullptr;
    for (const auto& element : *elements) {
        if (!element->IsObject()) continue;
        const auto file = element->AsObject().find(u"file");
        if (file != element->AsObject().end() && file->second->IsString())
            return file->second.get();
    }
    return nullptr;
}

// One pass over the file. `calls` is what is left of the file's calls.
FetchResult FetchOnce(const CFetchContext& context, const CPackEntry& entry, int& length,
                      long long& calls, std::string& bytes) {
    const int size = static_cast<int>(entry.size);
    bytes.assign(entry.size, '\0');
    if (length >= size || length < 1) length = std::min(size, kMaxChunk);
    int offset = 1;
    int unanswered = 0;
    while (offset <= size) {
        if (context.observer.StopRequested()) return FetchResult::Stopped;
        if (Clock::now() >= context.updateDeadline) return FetchResult::TimedOut;
        if (calls-- <= 0) return FetchResult::Unanswered;
        const auto start = Clock::now();
        const std::size_t maxBody = static_cast<std::size_t>(length) / 3 * 4 + 4 + kReplySlack;
        const CServiceReply reply = context.service.Call(
            context.service.ChunkCall(context.offer.clientId, context.offer.version, entry.id,
                                      offset, length),
            context.CallLimits(maxBody));
        if (reply.status == PostStatus::Stopped) return FetchResult::Stopped;
        const auto took = Clock::now() - start;
        const JSONValue* text = ChunkText(reply);
        if (text == nullptr) {
            // The same chunk is asked again, after a pause: a gateway in trouble is not hammered.
            if (++unanswered >= context.settings.chunkTries) return FetchResult::Unanswered;
            if (!context.Pause(context.settings.retryPause)) return FetchResult::Stopped;
            continue;
        }
        unanswered = 0;
        // Bytes beyond the announced size are dropped.
        const std::string decoded = DecodeBase64(NarrowUnits(text->AsString()));
        const std::size_t at = static_cast<std::size_t>(offset - 1);
        const std::size_t fits = std::min(decoded.size(), bytes.size() - at);
        bytes.replace(at, fits, decoded, 0, fits);
        context.observer.Advance(static_cast<std::uint64_t>(length));
        offset += length;
        if (offset == size) continue;
        if (took < kFastReply) {
            length = std::min(length + kChunkStep, kMaxChunk);
        } else if (length > kChunkStep) {
            length -= kChunkStep / 2;
        }
        // Below one only past the file's end, where the loop ends: the next file then starts
        // whole, and no call asks for less than a byte.
        if (offset + length > size) length = size - offset;
    }
    return FetchResult::Fetched;
}

}  // namespace

CPostLimits CFetchContext::CallLimits(std::size_t maxBody) const {
    CPostLimits limits;
    limits.connect = settings.connect;
    limits.read = settings.read;
    limits.deadline = std::min(Clock::now() + settings.callDeadline, updateDeadline);
    limits.maxBody = maxBody;
    limits.stop = [this] { return observer.StopRequested(); };
    return limits;
}

bool CFetchContext::Pause(std::chrono::milliseconds pause) const {
    const auto until = Clock::now() + pause;
    while (Clock::now() < until) {
        if (observer.StopRequested()) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(until - Clock::now(), kStopCheck));
    }
    return !observer.StopRequested();
}

FetchResult FetchFile(const CFetchContext& context, const CPackEntry& entry, int& chunkLength,
                      std::string& bytes) {
    long long calls = 20 + static_cast<long long>(entry.size / 1000);
    for (int attempt = 0; attempt < context.settings.fileTries; ++attempt) {
        const FetchResult result = FetchOnce(context, entry, chunkLength, calls, bytes);
        if (result != FetchResult::Fetched) return result;
        if (Crc32(bytes) == entry.crc) return FetchResult::Fetched;
    }
    return FetchResult::CrcMismatch;
}
