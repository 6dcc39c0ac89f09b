#include "app/IniFile.h"

#include <cstdio>
#include <string>

namespace {
constexpr const char* kIniPath = "config.ini";

std::string WithCrLf(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
        result += text[i];
    }
    return result;
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
    text = WithCrLf(text);
    std::FILE* file = std::fopen(kIniPath, "wb");
    if (file == nullptr) {
        result_ = SI_FILE;
        return;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    result_ = (std::fclose(file) == 0 && written) ? SI_OK : SI_FILE;
}
