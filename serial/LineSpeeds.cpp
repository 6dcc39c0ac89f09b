#include "serial/LineSpeeds.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr unsigned kFallbackSpeed = 300;
// A character is 11 bits on the line: start, 8 data, parity, stop.
constexpr unsigned kCharacterBits = 11;
constexpr unsigned kReadMarginMs = 30;
}  // namespace

bool IsLineSpeed(unsigned speed) {
    return std::find(std::begin(kLineSpeeds), std::end(kLineSpeeds), speed) !=
           std::end(kLineSpeeds);
}

unsigned CheckBaud(unsigned speed) {
    return IsLineSpeed(speed) ? speed : kFallbackSpeed;
}

unsigned ReadIntervalOf(unsigned speed) {
    return 3 * kCharacterBits * 1000 / speed + kReadMarginMs;
}

unsigned CharactersMs(std::size_t count, unsigned speed) {
    const std::size_t bitsTimesThousand = count * kCharacterBits * 1000;
    return static_cast<unsigned>((bitsTimesThousand + speed - 1) / speed);
}
