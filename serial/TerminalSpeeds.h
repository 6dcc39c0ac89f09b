#pragma once

#include <termios.h>

// The terminal codes of the line's speeds (POSIX alone): 0 / B0 for a speed that is not one
// of them.
speed_t SpeedCodeOf(unsigned bits);
unsigned SpeedBitsOf(speed_t code);
