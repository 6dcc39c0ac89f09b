#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The program's file names are UTF-8. A path made from a narrow string is read in the platform's
// own encoding, which on Windows is the ANSI code page; these read and give UTF-8 everywhere.
std::filesystem::path PathOfUtf8(std::string_view utf8);
std::string Utf8OfPath(const std::filesystem::path& path);
