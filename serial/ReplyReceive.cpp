#include "serial/ReplyReceive.h"

#include <algorithm>
#include <chrono>
#include <string_view>

#include "Utils/Format.h"
#include "serial/LineSpeeds.h"
#include "serial/ReplyAssembler.h"

namespace {
using Clock = std::chrono::steady_clock;

// A line that babbles must not fill console.log: about 250 bytes of one exchange are logged.
constexpr std::size_t kLogLimit = 1024;

// The log text of one exchange, cut at kLogLimit with " …" once.
class CExchangeLog {
public:
    void Append(std::string_view text) {
        if (full_) return;
        if (text_.size() + text.size() <= kLogLimit) {
            text_ += text;
            return;
        }
        text_ += text.substr(0, kLogLimit - text_.size());
        text_ += " …";
        full_ = true;
    }
    // Bytes as each is handed over: " %02X ".
    void AppendBytes(const CDataPackage& bytes) {
        for (std::uint8_t byte : bytes.Bytes()) Append(Format(" %02X ", byte));
    }
    // Bytes not handed over, after a marker: " marker: XX XX ".
    void AppendMarked(std::string_view marker, const CDataPackage& bytes) {
        if (bytes.Size() == 0) return;
        Append(marker);
        for (std::uint8_t byte : bytes.Bytes()) Append(Format(" %02X", byte));
        Append(" ");
    }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
    bool full_ = false;
};

// The next wait: `longestMs`, or what is left before the deadline when that is less.
unsigned WaitBefore(Clock::time_point deadline, unsigned longestMs) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<unsigned>(std::min<long long>(left, longestMs));
}

// Takes what follows a complete frame until the line has been quiet for one read interval
// (Silence); a line that never falls quiet is left, at its bound, to the purge before the next
// request.
ChannelRead ReadOff(CChannel& channel, const CReplyTiming& timing, Clock::time_point deadline,
                    CDataPackage& dropped) {
    std::uint8_t byte = 0;
    while (dropped.Size() < kMaxReplyBytes) {
        const unsigned wait = WaitBefore(deadline, timing.readIntervalMs);
        if (wait == 0) break;
        const ChannelRead outcome = channel.ReadByte(byte, wait);
        if (outcome != ChannelRead::Byte) return outcome;
        dropped.Add(byte);
    }
    return ChannelRead::Silence;
}

// What a read that brought no byte says of the link.
void NoteEnd(ChannelRead outcome, CReceivedReply& reply) {
    reply.lost = outcome == ChannelRead::Lost;
    reply.abandoned = outcome == ChannelRead::Interrupted;
}
}  // namespace

CReplyTiming ReplyTimingOf(unsigned speed, const CLinkSettings& settings) {
    CReplyTiming timing;
    timing.readIntervalMs = ReadIntervalOf(speed);
    timing.silenceWaitMs = timing.readIntervalMs + settings.silenceMs;
    timing.boundMs = 2 * settings.silenceMs + CharactersMs(kLongestFrameBytes, speed);
    timing.endOnCompleteFrame = settings.endOnCompleteFrame;
    return timing;
}

CReceivedReply ReceiveReply(CChannel& channel, const CReplyTiming& timing,
                            std::optional<CMeterSerialBytes> asked) {
    CReceivedReply reply;
    CExchangeLog log;
    CReplyAssembler assembler(asked);
    CDataPackage dropped;
    // From the request, written just before: a write of a request's few bytes never waits.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timing.boundMs);
    for (;;) {
        const unsigned wait = WaitBefore(deadline, timing.silenceWaitMs);
        std::uint8_t byte = 0;
        const ChannelRead outcome = wait > 0 ? channel.ReadByte(byte, wait) : ChannelRead::Silence;
        if (outcome != ChannelRead::Byte) {
            NoteEnd(outcome, reply);
            break;
        }
        const ReplyProgress progress = assembler.Add(byte);
        log.AppendMarked(" not asked:", assembler.Dropped());
        if (progress == ReplyProgress::Overlong) break;
        // A modem may add bytes of its own after the frame it passes on (a signal strength, a
        // stray byte): the frame is the reply all the same.
        if (progress == ReplyProgress::Complete && timing.endOnCompleteFrame) {
            NoteEnd(ReadOff(channel, timing, deadline, dropped), reply);
            break;
        }
    }
    const CDataPackage& held = assembler.Bytes();
    if (reply.abandoned) {
        log.AppendBytes(held);
        log.Append(" stopped ");
        reply.package.Add(0);
    } else {
        reply.package = held;
        reply.package.Add(held.Size() > 0 ? held.At(held.Size() - 1) : 0);
        log.AppendBytes(reply.package);
        log.AppendMarked(" dropped:", dropped);
    }
    reply.log = log.Take();
    return reply;
}
