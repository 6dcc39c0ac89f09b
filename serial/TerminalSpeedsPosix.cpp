#include "serial/TerminalSpeeds.h"

#include <cstddef>
#include <iterator>

#include "serial/LineSpeeds.h"

namespace {
// In the order of kLineSpeeds.
constexpr speed_t kCodes[] = {B300, B600, B1200, B1800, B2400, B4800, B9600, B19200, B38400};
static_assert(std::size(kCodes) == std::size(kLineSpeeds));
}  // namespace

speed_t SpeedCodeOf(unsigned bits) {
    for (std::size_t i = 0; i < std::size(kLineSpeeds); ++i) {
        if (kLineSpeeds[i] == bits) return kCodes[i];
    }
    return B0;
}

unsigned SpeedBitsOf(speed_t code) {
    for (std::size_t i = 0; i < std::size(kCodes); ++i) {
        if (kCodes[i] == code) return kLineSpeeds[i];
    }
    return 0;
}
