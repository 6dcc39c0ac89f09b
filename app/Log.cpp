#include "app/Log.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>

#include "Utils/Format.h"

constinit const CLog Log;

namespace {
constexpr const char* kLogPath = "console.log";
constexpr const char* kOlderLogPath = "console.log.1";
// A walk of 200 meters logs some 50 KB: 10 MB holds weeks of work, and leaves a small disk's
// last room to the readings.
constexpr std::uintmax_t kLogLimit = 10 * 1024 * 1024;

// Two threads past the limit at once would each rename, the second the first's fresh log over
// the full one.
std::mutex rotation;

// Begins a new log, the full one kept as console.log.1 in place of an older one. Windows renames
// no open file, so this comes before the log is opened for the text.
void StartAfresh(std::size_t coming) {
    const std::lock_guard<std::mutex> lock(rotation);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(kLogPath, error);
    if (error || size == 0 || size + coming <= kLogLimit) return;
    std::filesystem::rename(kLogPath, kOlderLogPath, error);
}
}  // namespace

void CLog::Write(const char* format, ...) const {
    va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    WriteText(text);
}

void CLog::WriteText(std::string_view text) const {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(kLogPath, error);
    if (!error && size > 0 && size + text.size() > kLogLimit) StartAfresh(text.size());
    std::FILE* file = std::fopen(kLogPath, "ab");
    if (file == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}
