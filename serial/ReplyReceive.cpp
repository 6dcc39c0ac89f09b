#include "serial/ReplyReceive.h"

#include "serial/Frame.h"

namespace {
// Takes what follows a complete frame until the line has been quiet for one read interval;
// false when the link went meanwhile.
bool ReadOff(CChannel& channel, unsigned readIntervalMs, CDataPackage& dropped) {
    std::uint8_t byte = 0;
    for (;;) {
        switch (channel.ReadByte(byte, readIntervalMs)) {
            case ChannelRead::Byte:
                dropped.Add(byte);
                break;
            case ChannelRead::Silence:
                return true;
            case ChannelRead::Lost:
                return false;
        }
    }
}
}  // namespace

CReceivedReply ReceiveReply(CChannel& channel, unsigned readIntervalMs,
                            const CLinkSettings& settings) {
    CReceivedReply reply;
    const unsigned silenceWait = readIntervalMs + settings.silenceMs;
    std::uint8_t last = 0;
    for (;;) {
        const ChannelRead outcome = channel.ReadByte(last, silenceWait);
        if (outcome == ChannelRead::Lost) reply.lost = true;
        if (outcome != ChannelRead::Byte) break;
        reply.package.Add(last);
        // A modem may add bytes of its own after the frame it passes on (a signal strength, a
        // stray byte): the frame is the reply all the same.
        if (settings.endOnCompleteFrame && IsCompleteFrame(reply.package)) {
            reply.lost = !ReadOff(channel, readIntervalMs, reply.dropped);
            break;
        }
    }
    reply.package.Add(last);
    return reply;
}
