#pragma once

#include <cstdarg>
#include <string>

// printf-style formatting into a string of whatever length the text needs.
std::string FormatV(const char* format, va_list args);
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
