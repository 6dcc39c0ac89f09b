#pragma once

#include <cstdio>
#include <string>

// fopen of a UTF-8 path: the C library's own fopen reads the ANSI code page on Windows.
std::FILE* OpenFile(const std::string& utf8Path, const char* mode);
