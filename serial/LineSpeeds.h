#pragma once

#include <cstddef>

// The speeds the serial line runs at, in bits per second.
inline constexpr unsigned kLineSpeeds[] = {300, 600, 1200, 1800, 2400, 4800, 9600, 19200, 38400};
bool IsLineSpeed(unsigned speed);

// The speed itself when it is one the line supports, else 300.
unsigned CheckBaud(unsigned speed);

// Three character times at `speed` (one CheckBaud lets through) plus a margin of 30 ms, in
// milliseconds: the quiet after which a complete frame ends a reply. A network link to a device
// server uses the speed of the server's serial side, so the rule is the same over both.
unsigned ReadIntervalOf(unsigned speed);

// How long `count` characters of 11 bits take on the line at `speed`, in whole milliseconds
// rounded up.
unsigned CharactersMs(std::size_t count, unsigned speed);
