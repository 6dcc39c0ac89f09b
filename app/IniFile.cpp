#include "app/IniFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/Log.h"

namespace {
constexpr const char* kIniPath = "config.ini";
constexpr const char* kNewIniPath = "config.ini.new";

std::string WithCrLf(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
        result += text[i];
    }
    return result;
}

// Writes the text beside the file and then renames it over the file, so that the file is
// either the old one or the new one whole: written in place, a save on a full disk would cut
// it short. Empty when done, else why not; nothing is left beside the file then.
std::string ReplaceFile(const char* path, const char* newPath, const std::string& text) {
    std::FILE* file = std::fopen(newPath, "wb");
    if (file == nullptr) return std::string(newPath) + ": " + std::strerror(errno);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    // A full disk mostly shows when the buffer is flushed, at the close.
    const bool closed = std::fclose(file) == 0;
    std::string error;
    if (!written || !closed) {
        error = std::string(newPath) + ": " + std::strerror(errno);
    } else {
        std::error_code renamed;
        std::filesystem::rename(newPath, path, renamed);
        if (!renamed) return {};
        error = renamed.message();
    }
    std::error_code ignored;
    std::filesystem::remove(newPath, ignored);
    return error;
}
}  // namespace

CIniFile::CIniFile() { Load(); }

void CIniFile::Load() {
    std::FILE* file = std::fopen(kIniPath, "rb");
    if (file == nullptr) {
        result_ = SI_FILE;
        return;
    }
    std::string data;
    char chunk[4096];
    std::size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.append(chunk, read);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    result_ = failed ? SI_FILE : ini_.LoadData(data);
}

void CIniFile::GetValue(const char* section, const char* key, CIniValue& value) const {
    if (const char* stored = ini_.GetValue(section, key, nullptr)) value = stored;
}

void CIniFile::SetValue(const char* section, const char* key, const char* value) {
    ini_.SetValue(section, key, value);
    Save();
}

void CIniFile::Save() {
    std::string text;
    result_ = ini_.Save(text);
    if (result_ < 0) return;
    const std::string error = ReplaceFile(kIniPath, kNewIniPath, WithCrLf(text));
    result_ = error.empty() ? SI_OK : SI_FILE;
    if (!error.empty()) Log.Write("\nconfig.ini not saved: %s;\n", error.c_str());
}
