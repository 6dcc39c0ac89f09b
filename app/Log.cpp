#include "app/Log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "Utils/Format.h"

constinit const CLog Log;

namespace {
constexpr const char* kLogPath = "console.log";
}

void CLog::Write(const char* format, ...) const {
    va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    WriteText(text);
}

void CLog::WriteText(std::string_view text) const {
    std::FILE* file = std::fopen(kLogPath, "a+");
    if (file == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}
