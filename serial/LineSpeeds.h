#pragma once

#include <termios.h>

#include <cstddef>

// The speeds the serial line runs at, in bits per second, and their terminal codes.
// 0 / B0 for a speed that is not one of them.
speed_t SpeedCodeOf(unsigned bits);
unsigned SpeedBitsOf(speed_t code);

// The speed itself when it is one the line supports, else 300.
unsigned CheckBaud(unsigned speed);

// Three character times at `speed` (one CheckBaud lets through) plus a margin of 30 ms, in
// milliseconds: the quiet after which a complete frame ends a reply. A network link to a device
// server uses the speed of the server's serial side, so the rule is the same over both.
unsigned ReadIntervalOf(unsigned speed);

// How long `count` characters of 11 bits take on the line at `speed`, in whole milliseconds
// rounded up.
unsigned CharactersMs(std::size_t count, unsigned speed);
