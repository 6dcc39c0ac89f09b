// A meter's reply as line bytes: the receive's frame-complete test, the frame checks and the
// decoder must agree, and a reading is made of the frame's own data bytes only.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz/FuzzCheck.h"
#include "meter/Telegram.h"
#include "serial/Frame.h"

namespace {
constexpr std::size_t kMaxData = 255;  // the length byte's reach

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
    if (a.MeterCode() != b.MeterCode()) return false;
    if ((a.HeatData() == nullptr) != (b.HeatData() == nullptr)) return false;
    if ((a.WaterData() == nullptr) != (b.WaterData() == nullptr)) return false;
    if (a.HeatData() != nullptr && !SameHeat(*a.HeatData(), *b.HeatData())) return false;
    return a.WaterData() == nullptr || SameWater(*a.WaterData(), *b.WaterData());
}

void CheckLine(const CDataPackage& line) {
    const CDataPackage received = AsReceived(line);
    const TelegramCheck check = CheckFrame(received);
    FUZZ_CHECK(IsCompleteFrame(line) == (check == TelegramOk));

    CTelegram telegram(received);
    FUZZ_CHECK(telegram.Decode() == check);
    const bool made = telegram.HeatData() != nullptr || telegram.WaterData() != nullptr;
    FUZZ_CHECK(made == (telegram.MeterCode() != -1));
    FUZZ_CHECK(!made || check == TelegramOk);
    FUZZ_CHECK(telegram.HeatData() == nullptr || telegram.WaterData() == nullptr);

    const CDataPackage copy = received;
    CTelegram again(copy);
    again.Decode();
    FUZZ_CHECK(SameReading(telegram, again));
    telegram.Decode();
    FUZZ_CHECK(SameReading(telegram, again));

    if (!made) return;
    if (const std::optional<CDataPackage> longer = Lengthened(received)) {
        CTelegram lengthened(*longer);
        FUZZ_CHECK(lengthened.Decode() == TelegramOk);
        FUZZ_CHECK(SameReading(telegram, lengthened));
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CDataPackage line;
    for (std::size_t i = 0; i < size; ++i) line.Add(data[i]);
    CheckLine(line);

    const CDataPackage built = FrameAround(data, size);
    FUZZ_CHECK(IsCompleteFrame(built));
    CheckLine(built);
    return 0;
}
