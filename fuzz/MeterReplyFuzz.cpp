// A meter's reply as line bytes: the frame search, the frame checks and the decoder must agree;
// a frame found after any prefix decodes as the same frame behind the usual three FE; a reading
// is made of the frame's own data bytes only. And the receive loop over an in-memory line: it
// ends within its bounds, hands over no other meter's frame, and finds the asked meter's frame
// after any bytes that fit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "meter/MeterCodes.h"
#include "meter/Telegram.h"
#include "serial/Frame.h"
#include "serial/MemoryChannel.h"
#include "serial/ReplyAssembler.h"
#include "serial/ReplyReceive.h"

namespace {
constexpr std::size_t kMaxData = 255;  // the length byte's reach
constexpr std::size_t kMaxPrefix = 24;
constexpr unsigned kSilenceMs = 250;
constexpr unsigned kQuietWithinReply = kSilenceMs;
constexpr std::size_t kLogLimit = 1024 + std::char_traits<char>::length(" …");

// What the receive hands over: the line bytes and one repeat of the last, or a 0 for none.
CDataPackage AsReceived(const CDataPackage& line) {
    CDataPackage received = line;
    received.Add(line.Size() > 0 ? line.At(line.Size() - 1) : 0);
    return received;
}

// A sound frame around the input: its first bytes as type, address and control code, the rest
// as data. Lets every input reach the decoder, not only those with a right checksum.
CDataPackage FrameAround(const std::uint8_t* data, std::size_t size) {
    CDataPackage line;
    for (int i = 0; i < 3; ++i) line.Add(kFramePreamble);
    line.Add(kFrameStart);
    for (std::size_t i = 0; i < 9; ++i) line.Add(i < size ? data[i] : 0);
    const std::size_t dataSize = size > 9 ? std::min(size - 9, kMaxData) : 0;
    line.Add(static_cast<std::uint8_t>(dataSize));
    for (std::size_t i = 0; i < dataSize; ++i) line.Add(data[9 + i]);
    AppendChecksum(line);
    line.Add(kFrameEnd);
    return line;
}

// `prefix` then the bytes of `line` from `from` on.
CDataPackage Joined(const CDataPackage& prefix, const CDataPackage& line, std::size_t from) {
    CDataPackage joined = prefix;
    for (std::size_t i = from; i < line.Size(); ++i) joined.Add(line.At(i));
    return joined;
}

// The frame at `frame` behind the usual three FE, as the line bytes of a reply.
CDataPackage Usual(const CDataPackage& line, const CFrameSpan& frame) {
    CDataPackage usual;
    for (int i = 0; i < 3; ++i) usual.Add(kFramePreamble);
    for (std::size_t i = frame.start; i < frame.start + frame.size; ++i) usual.Add(line.At(i));
    return usual;
}

// The received frame with four data bytes more, each unlike what the package held at its place
// (0 beyond the end): a decoder that reads the checksum, the end or past the package reads
// other values there. Nothing when the length byte has no room.
std::optional<CDataPackage> Lengthened(const CDataPackage& received) {
    const std::size_t lineSize = received.Size() - 1;
    if (received.At(kFrameLengthIndex) + 4u > kMaxData) return std::nullopt;
    CDataPackage line;
    for (std::size_t i = 0; i + 2 < lineSize; ++i) line.Add(received.At(i));
    for (std::size_t i = lineSize - 2; i < lineSize + 2; ++i) line.Add(received.At(i) ^ 0xFF);
    CDataPackage fixed;
    for (std::size_t i = 0; i < line.Size(); ++i) {
        fixed.Add(i == kFrameLengthIndex ? static_cast<std::uint8_t>(line.At(i) + 4) : line.At(i));
    }
    AppendChecksum(fixed);
    fixed.Add(kFrameEnd);
    return AsReceived(fixed);
}

bool SameHeat(const CDataHeat& a, const CDataHeat& b) {
    return a.meter_code == b.meter_code && a.serial == b.serial && a.date.view() == b.date.view() &&
           a.q_cooling.view() == b.q_cooling.view() && a.q.view() == b.q.view() &&
           a.v.view() == b.v.view() && a.t1.view() == b.t1.view() && a.t2.view() == b.t2.view() &&
           a.dt.view() == b.dt.view() && a.running_time_hour == b.running_time_hour;
}

bool SameWater(const CDataWater& a, const CDataWater& b) {
    return a.meter_code == b.meter_code && a.serial == b.serial && a.date.view() == b.date.view() &&
           a.v.view() == b.v.view() && a.v_flow.view() == b.v_flow.view() &&
           a.bat.view() == b.bat.view() && a.running_time_minute == b.running_time_minute &&
           a.v_reverse.view() == b.v_reverse.view();
}

bool SameReading(const CTelegram& a, const CTelegram& b) {
    if (a.MeterCode() != b.MeterCode() || a.Fault() != b.Fault()) return false;
    if ((a.HeatData() == nullptr) != (b.HeatData() == nullptr)) return false;
    if ((a.WaterData() == nullptr) != (b.WaterData() == nullptr)) return false;
    if (a.HeatData() != nullptr && !SameHeat(*a.HeatData(), *b.HeatData())) return false;
    return a.WaterData() == nullptr || SameWater(*a.WaterData(), *b.WaterData());
}

void CheckLine(const CDataPackage& line) {
    const CDataPackage received = AsReceived(line);
    const TelegramCheck check = CheckFrame(received);
    const std::optional<CFrameSpan> frame = FrameEndingAt(line.Bytes());
    FUZZ_CHECK(frame.has_value() == (check == TelegramOk));

    CTelegram telegram(received);
    FUZZ_CHECK(telegram.Decode() == check);
    const bool made = telegram.HeatData() != nullptr || telegram.WaterData() != nullptr;
    FUZZ_CHECK(made == (telegram.MeterCode() != -1));
    FUZZ_CHECK(!made || check == TelegramOk);
    FUZZ_CHECK(!made || telegram.Fault().empty());
    FUZZ_CHECK(telegram.HeatData() == nullptr || telegram.WaterData() == nullptr);

    const CDataPackage copy = received;
    CTelegram again(copy);
    again.Decode();
    FUZZ_CHECK(SameReading(telegram, again));
    telegram.Decode();
    FUZZ_CHECK(SameReading(telegram, again));

    if (!frame) return;
    const CDataPackage usual = AsReceived(Usual(line, *frame));
    CTelegram behindThreeFe(usual);
    FUZZ_CHECK(behindThreeFe.Decode() == TelegramOk);
    FUZZ_CHECK(SameReading(telegram, behindThreeFe));
    if (!made) return;
    if (const std::optional<CDataPackage> longer = Lengthened(usual)) {
        CTelegram lengthened(*longer);
        FUZZ_CHECK(lengthened.Decode() == TelegramOk);
        FUZZ_CHECK(SameReading(telegram, lengthened));
    }
}

// The receive over a line that brings `line`, split in two by a quiet of `quietMs`.
CReceivedReply ReceiveOver(const CDataPackage& line, std::size_t split, unsigned quietMs,
                           bool endOnFrame, bool interrupted,
                           std::optional<CMeterSerialBytes> asked) {
    auto memory = std::make_shared<CMemoryLine>();
    CDataPackage first, second;
    for (std::size_t i = 0; i < line.Size(); ++i) (i < split ? first : second).Add(line.At(i));
    memory->Answer({{first}, {second, quietMs}});
    CMemoryChannel channel(memory);
    channel.Open();
    channel.Write(CDataPackage());
    if (interrupted) channel.Interrupt();
    CLinkSettings settings;
    settings.silenceMs = kSilenceMs;
    settings.endOnCompleteFrame = endOnFrame;
    return ReceiveReply(channel, ReplyTimingOf(9600, settings), asked);
}

// Input: a flags byte (ending rule, whether a meter is asked, a stop request, the quiet), four
// serial-number bytes, the split, then the line.
void CheckReceive(const std::uint8_t* data, std::size_t size) {
    if (size < 6) return;
    const bool endOnFrame = (data[0] & 1) != 0;
    const bool asking = (data[0] & 2) != 0;
    const bool interrupted = (data[0] & 4) != 0;
    const unsigned quietMs = (data[0] >> 4) * 20u;
    std::optional<CMeterSerialBytes> asked;
    if (asking) asked = CMeterSerialBytes{data[1], data[2], data[3], data[4]};
    CDataPackage line;
    for (std::size_t i = 6; i < size; ++i) line.Add(data[i]);
    const std::size_t split = line.Size() > 0 ? data[5] % (line.Size() + 1) : 0;

    const CReceivedReply reply = ReceiveOver(line, split, quietMs, endOnFrame, interrupted, asked);
    FUZZ_CHECK(reply.package.Size() >= 1 && reply.package.Size() <= kMaxReplyBytes + 2);
    FUZZ_CHECK(reply.log.size() <= kLogLimit);
    FUZZ_CHECK(reply.abandoned == interrupted);
    if (interrupted) {
        FUZZ_CHECK(reply.package.Size() == 1 && reply.package.At(0) == 0);
        return;
    }
    const std::optional<CFrameSpan> handed = ReceivedFrame(reply.package);
    FUZZ_CHECK(!handed || !asked || SerialBytesOf(reply.package.Bytes(), *handed) == *asked);
    CDataPackage heldLine;
    for (std::size_t i = 0; i + 1 < reply.package.Size(); ++i) heldLine.Add(reply.package.At(i));
    CheckLine(heldLine);

    // The same line with a frame of the meter asked after it: found, whatever came before.
    if (!asked) return;
    const std::uint8_t header[9] = {static_cast<std::uint8_t>(MeterCodeHeat),
                                    data[1],
                                    data[2],
                                    data[3],
                                    data[4],
                                    0,
                                    0,
                                    0,
                                    0x81};
    const CDataPackage frame = FrameAround(header, sizeof header);
    const CDataPackage withFrame = Joined(line, frame, kFrameStartIndex);
    if (withFrame.Size() >= kMaxReplyBytes) return;
    // A quiet shorter than the silence wait, which would end the reply before the frame.
    const CReceivedReply found = ReceiveOver(withFrame, split, std::min(quietMs, kQuietWithinReply),
                                             endOnFrame, false, asked);
    FUZZ_CHECK(CheckFrame(found.package) == TelegramOk);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CDataPackage line;
    for (std::size_t i = 0; i < size; ++i) line.Add(data[i]);
    CheckLine(line);

    const CDataPackage built = FrameAround(data, size);
    FUZZ_CHECK(FrameEndingAt(built.Bytes()));
    CheckLine(built);

    // Behind a prefix of the input's own bytes instead of the three FE.
    CDataPackage prefix;
    for (std::size_t i = 0; i < size && i < (size > 0 ? data[0] % kMaxPrefix : 0); ++i)
        prefix.Add(data[i]);
    const CDataPackage noisy = Joined(prefix, built, kFrameStartIndex);
    const std::optional<CFrameSpan> found = FrameEndingAt(noisy.Bytes());
    FUZZ_CHECK(found);
    CheckLine(noisy);
    if (std::find(prefix.Bytes().begin(), prefix.Bytes().end(), kFrameStart) ==
        prefix.Bytes().end()) {
        FUZZ_CHECK(found->start == prefix.Size());
    }

    CheckReceive(data, size);
    return 0;
}
