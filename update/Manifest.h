#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// The list of a release's files that its publisher signs: "version V", then one line per file,
// "SHA256 SIZE PATH" (lower-case hex, decimal, dst/name or the name alone), each line ending in
// a line feed.
struct CManifestFile {
    std::array<unsigned char, 32> sha256{};
    std::uint64_t size = 0;
};

struct CManifest {
    std::string version;
    std::map<std::string, CManifestFile> files;  // by path
};

// The manifest of `text`, or nothing when a line is not in its form, the text holds a control
// character, or a path comes twice.
std::optional<CManifest> ReadManifest(std::string_view text);

// The manifest's text, as a publisher writes it.
std::string ManifestText(const CManifest& manifest);

// Whether `bytes` are the file the manifest lists: its size and its SHA-256.
bool MatchesManifest(const CManifestFile& file, std::string_view bytes);
