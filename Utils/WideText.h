#pragma once

#include <string>
#include <string_view>

// Windows alone: the program's UTF-8 texts and the UTF-16 the Win32 calls take and give.
std::wstring WideOf(std::string_view utf8);
std::string Utf8Of(std::wstring_view wide);
