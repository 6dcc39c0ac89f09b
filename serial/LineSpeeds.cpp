#include "serial/LineSpeeds.h"

namespace {
constexpr unsigned kFallbackSpeed = 300;
// A character is 11 bits on the line: start, 8 data, parity, stop.
constexpr unsigned kCharacterBits = 11;
constexpr unsigned kReadMarginMs = 30;

struct CSpeed {
    unsigned bits;
    speed_t code;
};
constexpr CSpeed kSpeeds[] = {{300, B300},   {600, B600},     {1200, B1200},
                              {1800, B1800}, {2400, B2400},   {4800, B4800},
                              {9600, B9600}, {19200, B19200}, {38400, B38400}};
}  // namespace

speed_t SpeedCodeOf(unsigned bits) {
    for (const CSpeed& speed : kSpeeds) {
        if (speed.bits == bits) return speed.code;
    }
    return B0;
}

unsigned SpeedBitsOf(speed_t code) {
    for (const CSpeed& speed : kSpeeds) {
        if (speed.code == code) return speed.bits;
    }
    return 0;
}

unsigned CheckBaud(unsigned speed) {
    return SpeedCodeOf(speed) != B0 ? speed : kFallbackSpeed;
}

unsigned ReadIntervalOf(unsigned speed) {
    return 3 * kCharacterBits * 1000 / speed + kReadMarginMs;
}

unsigned CharactersMs(std::size_t count, unsigned speed) {
    const std::size_t bitsTimesThousand = count * kCharacterBits * 1000;
    return static_cast<unsigned>((bitsTimesThousand + speed - 1) / speed);
}
