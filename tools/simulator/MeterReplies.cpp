#include "tools/simulator/MeterReplies.h"

#include <string_view>

#include "meter/MeterCodes.h"
#include "serial/Frame.h"

namespace {
constexpr std::uint8_t kControlReadReply = 0x81;
constexpr std::uint8_t kReadIdentifier[] = {0x90, 0x1F, 0x01};
constexpr std::uint8_t kControlRead = 0x01;
constexpr std::uint8_t kTrailingByte = 0xAA;
constexpr std::size_t kHeatDataBytes = 46;  // reaches the clock's year and two spare bytes
constexpr std::size_t kWaterDataBytes = 30;

// A decimal text as a whole number of 10^-decimals units: "12.3" with 3 decimals is 12300.
// Anything after the digits is ignored, digits beyond `decimals` are cut.
unsigned long long Scaled(std::string_view text, int decimals) {
    unsigned long long value = 0;
    int fraction = -1;  // digits taken after the point, -1 before it
    for (char c : text) {
        if (c == '.' && fraction < 0) {
            fraction = 0;
        } else if (c >= '0' && c <= '9' && fraction < decimals) {
            value = value * 10 + static_cast<unsigned>(c - '0');
            if (fraction >= 0) ++fraction;
        } else if (c < '0' || c > '9') {
            break;
        }
    }
    for (int missing = fraction < 0 ? decimals : decimals - fraction; missing > 0; --missing) {
        value *= 10;
    }
    return value;
}

std::uint8_t Bcd(unsigned pair) { return static_cast<std::uint8_t>((pair / 10 % 10) << 4 | pair % 10); }

// `bytes` packed BCD bytes, least significant pair first, higher digits dropped.
void AddBcd(CDataPackage& package, unsigned long long value, int bytes) {
    for (int i = 0; i < bytes; ++i, value /= 100) package.Add(Bcd(static_cast<unsigned>(value % 100)));
}

void AddZeros(CDataPackage& package, int count) {
    for (int i = 0; i < count; ++i) package.Add(0x00);
}

std::tm ClockOf(const CSimMeter& meter, const std::tm& now) {
    if (meter.clock.now) return now;
    std::tm fixed{};
    fixed.tm_year = meter.clock.year - 1900;
    fixed.tm_mon = meter.clock.month - 1;
    fixed.tm_mday = meter.clock.day;
    fixed.tm_hour = meter.clock.hour;
    fixed.tm_min = meter.clock.minute;
    fixed.tm_sec = meter.clock.second;
    return fixed;
}

// Second, minute, hour, day, month, year in two bytes: the clock as both families send it.
void AddClock(CDataPackage& package, const std::tm& clock) {
    const int year = clock.tm_year + 1900;
    for (int part : {clock.tm_sec, clock.tm_min, clock.tm_hour, clock.tm_mday, clock.tm_mon + 1,
                     year % 100, year / 100 % 100}) {
        package.Add(Bcd(static_cast<unsigned>(part)));
    }
}

// Temperatures go as whole degrees, then hundredths, each one BCD byte.
void AddTemperature(CDataPackage& package, std::string_view text) {
    const unsigned long long hundredths = Scaled(text, 2);
    package.Add(Bcd(static_cast<unsigned>(hundredths / 100 % 100)));
    package.Add(Bcd(static_cast<unsigned>(hundredths % 100)));
}

void AddHeatData(CDataPackage& reply, const CSimMeter& meter, const std::tm& clock) {
    reply.Add(0x00);
    AddBcd(reply, Scaled(meter.qCooling, 2), 4);  // 18..21
    reply.Add(0x00);
    AddBcd(reply, Scaled(meter.q, 2), 4);  // 23..26
    AddZeros(reply, 11);
    AddBcd(reply, Scaled(meter.volume, 4), 4);  // 38..41
    reply.Add(0x00);
    AddTemperature(reply, meter.t1);  // 43, 44
    reply.Add(0x00);
    AddTemperature(reply, meter.t2);  // 46, 47
    // Running hours, most significant pair first.
    const unsigned hours = meter.hours % 1000000;
    for (unsigned divisor : {10000u, 100u, 1u}) reply.Add(Bcd(hours / divisor % 100));
    AddClock(reply, clock);  // 51..57
    AddZeros(reply, 2);
}

// A water volume in four bytes, lowest first: hundredths and thousandths, tenths alone in the
// low nibble, then the four whole digits.
void AddWaterVolume(CDataPackage& package, std::string_view text) {
    const unsigned long long thousandths = Scaled(text, 3);
    package.Add(Bcd(static_cast<unsigned>(thousandths % 100)));
    package.Add(Bcd(static_cast<unsigned>(thousandths / 100 % 10)));
    AddBcd(package, thousandths / 1000, 2);
}

void AddWaterData(CDataPackage& reply, const CSimMeter& meter, const std::tm& clock) {
    AddWaterVolume(reply, meter.volume);  // 17..20
    reply.Add(0x00);
    AddWaterVolume(reply, meter.flow);  // 22..25
    reply.Add(0x00);
    AddClock(reply, clock);  // 27..33
    AddZeros(reply, 2);
    const unsigned long long battery = Scaled(meter.battery, 2);
    reply.Add(Bcd(static_cast<unsigned>(battery % 100)));        // 36: hundredths
    reply.Add(Bcd(static_cast<unsigned>(battery / 100 % 100)));  // 37: volts
    reply.Add(static_cast<std::uint8_t>(meter.minutes & 0xFF));
    reply.Add(static_cast<std::uint8_t>(meter.minutes >> 8 & 0xFF));
    AddWaterVolume(reply, meter.reverse);  // 40..43
}
}  // namespace

std::uint8_t NoiseByte(std::size_t index) {
    constexpr std::uint8_t kFirst[] = {0x00, 0xFF, 0x68, 0x3C, 0x16, 0xE0, 0x68, 0x01, 0x55};
    if (index < sizeof kFirst) return kFirst[index];
    // A linear congruential sequence, its high byte taken.
    std::uint32_t state = static_cast<std::uint32_t>(index);
    for (int round = 0; round < 3; ++round) state = state * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(state >> 24);
}

CEndlessLine::CEndlessLine(const CSimMeter& meter, CDataPackage reply)
    : kind_(meter.endless), byte_(meter.endlessByte), reply_(std::move(reply)) {}

std::uint8_t CEndlessLine::Next() {
    const std::size_t index = sent_++;
    switch (kind_) {
        case SimEndless::Byte:
            return byte_;
        case SimEndless::Noise:
            return NoiseByte(index);
        case SimEndless::Reply:
            return reply_.At(index % reply_.Size());
        case SimEndless::None:
            break;
    }
    return 0;
}

CDataPackage BuildMeterReply(const CSimMeter& meter, const std::tm& now) {
    const bool heat = meter.family == SimFamily::Heat;
    // The frame with the usual three preamble bytes first, which the checksum passes over.
    CDataPackage frame;
    for (std::size_t i = 0; i < kFrameStartIndex; ++i) frame.Add(kFramePreamble);
    frame.Add(kFrameStart);
    frame.Add(heat ? MeterCodeHeat : MeterCodeWater);
    AddBcd(frame, meter.answerAs.value_or(meter.serial), 4);
    AddZeros(frame, 3);
    frame.Add(kControlReadReply);
    frame.Add(heat ? kHeatDataBytes : kWaterDataBytes);
    for (std::uint8_t byte : kReadIdentifier) frame.Add(byte);
    const std::tm clock = ClockOf(meter, now);
    heat ? AddHeatData(frame, meter, clock) : AddWaterData(frame, meter, clock);
    AppendChecksum(frame);

    CDataPackage reply;
    for (unsigned i = 0; i < meter.noiseBytes; ++i) reply.Add(NoiseByte(i));
    for (unsigned i = 0; i < meter.preambleBytes; ++i) reply.Add(kFramePreamble);
    const std::size_t checksumIndex = frame.Size() - 1;
    for (std::size_t i = kFrameStartIndex; i < checksumIndex; ++i) reply.Add(frame.At(i));
    reply.Add(static_cast<std::uint8_t>(frame.At(checksumIndex) + (meter.badChecksum ? 1 : 0)));
    reply.Add(kFrameEnd);
    for (unsigned i = 0; i < meter.trailingBytes; ++i) reply.Add(kTrailingByte);
    return reply;
}

namespace {
bool BcdSerial(const std::vector<std::uint8_t>& input, std::size_t first, unsigned& serial) {
    serial = 0;
    for (std::size_t index = first + 4; index-- > first;) {
        const unsigned high = input[index] >> 4, low = input[index] & 0x0F;
        if (high > 9 || low > 9) return false;
        serial = serial * 100 + high * 10 + low;
    }
    return true;
}
}  // namespace

CRequestScan ScanForReadRequest(const std::vector<std::uint8_t>& input) {
    constexpr std::size_t kLengthOffset = 10;  // from the start character
    constexpr std::size_t kRequestBytes = 16;  // from the start character to the end character
    CRequestScan scan;
    for (std::size_t start = 0; start < input.size(); ++start) {
        if (input[start] != kFrameStart) continue;
        if (start + kRequestBytes > input.size()) {
            // Could still become a request: keep it for the bytes to come.
            if (start + kLengthOffset >= input.size() ||
                input[start + kLengthOffset] == sizeof kReadIdentifier) {
                scan.consumed = start;
                return scan;
            }
            continue;
        }
        const std::uint8_t* frame = input.data() + start;
        std::uint8_t sum = 0;
        for (std::size_t i = 0; i < kRequestBytes - 2; ++i) sum += frame[i];
        const bool wellFormed = frame[kLengthOffset] == sizeof kReadIdentifier &&
                                frame[9] == kControlRead && frame[11] == kReadIdentifier[0] &&
                                frame[12] == kReadIdentifier[1] && frame[13] == kReadIdentifier[2] &&
                                frame[14] == sum && frame[15] == kFrameEnd;
        if (wellFormed && BcdSerial(input, start + 2, scan.serial)) {
            scan.found = true;
            scan.meterCode = frame[1];
            scan.consumed = start + kRequestBytes;
            return scan;
        }
    }
    scan.consumed = input.size();
    return scan;
}
