#include "update/Manifest.h"

#include <sodium.h>

#include "Utils/Format.h"

namespace {

constexpr std::string_view kVersion = "version ";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;  // upper case is not the manifest's form
}

bool ReadHash(std::string_view hex, std::array<unsigned char, 32>& hash) {
    if (hex.size() != 2 * hash.size()) return false;
    for (std::size_t i = 0; i < hash.size(); ++i) {
        const int high = HexValue(hex[2 * i]);
        const int low = HexValue(hex[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        hash[i] = static_cast<unsigned char>(high * 16 + low);
    }
    return true;
}

// Decimal digits only, without a leading zero unless it is "0", at most 2^64 - 1.
bool ReadSize(std::string_view text, std::uint64_t& size) {
    if (text.empty() || text.size() > 20 || (text.size() > 1 && text[0] == '0')) return false;
    size = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (size > (UINT64_MAX - digit) / 10) return false;
        size = size * 10 + digit;
    }
    return true;
}

bool ReadFileLine(std::string_view line, CManifest& manifest) {
    const std::size_t first = line.find(' ');
    if (first == std::string_view::npos) return false;
    const std::size_t second = line.find(' ', first + 1);
    if (second == std::string_view::npos || second + 1 == line.size()) return false;
    CManifestFile file;
    if (!ReadHash(line.substr(0, first), file.sha256) ||
        !ReadSize(line.substr(first + 1, second - first - 1), file.size))
        return false;
    return manifest.files.emplace(std::string(line.substr(second + 1)), file).second;
}

}  // namespace

std::optional<CManifest> ReadManifest(std::string_view text) {
    // Text: no control character but the line feeds that end its lines.
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) return std::nullopt;
    }
    CManifest manifest;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line.substr(0, kVersion.size()) != kVersion || line.size() == kVersion.size())
                return std::nullopt;
            manifest.version = line.substr(kVersion.size());
            first = false;
        } else if (!ReadFileLine(line, manifest)) {
            return std::nullopt;
        }
    }
    if (first) return std::nullopt;
    return manifest;
}

std::string ManifestText(const CManifest& manifest) {
    std::string text = std::string(kVersion) + manifest.version + "\n";
    for (const auto& [path, file] : manifest.files) {
        char hex[2 * 32 + 1];
        sodium_bin2hex(hex, sizeof hex, file.sha256.data(), file.sha256.size());
        text += Format("%s %llu ", hex, static_cast<unsigned long long>(file.size)) + path + "\n";
    }
    return text;
}

bool MatchesManifest(const CManifestFile& file, std::string_view bytes) {
    if (bytes.size() != file.size) return false;
    std::array<unsigned char, crypto_hash_sha256_BYTES> hash;
    crypto_hash_sha256(hash.data(), reinterpret_cast<const unsigned char*>(bytes.data()),
                       bytes.size());
    return sodium_memcmp(hash.data(), file.sha256.data(), hash.size()) == 0;
}
