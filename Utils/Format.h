#pragma once

#include <cstdarg>
#include <string>

// printf-style formatting into a string of whatever length the text needs. Numbers follow the
// C conventions whatever the user's locale: the decimal separator is always a point. Every
// number the program turns into text goes through here.
std::string FormatV(const char* format, va_list args);
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
