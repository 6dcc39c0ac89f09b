#pragma once

#include <termios.h>

// The speeds the serial line runs at, in bits per second, and their terminal codes.
// 0 / B0 for a speed that is not one of them.
speed_t SpeedCodeOf(unsigned bits);
unsigned SpeedBitsOf(speed_t code);
