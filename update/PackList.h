#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "update/Json.h"

// One file of the new version, as the pack list announces it.
struct CPackEntry {
    std::string id;
    std::string name;
    std::string dst;  // folder below the program's folder, parts joined by "/"; empty for itself
    std::uint64_t size = 0;
    std::uint32_t crc = 0;

    // dst/name, or the name alone.
    std::string Path() const { return dst.empty() ? name : dst + "/" + name; }
};

// The bounds a pack must keep; a larger one refuses the update.
constexpr std::uint64_t kMaxFileSize = 64u << 20;
constexpr std::uint64_t kMaxPackSize = 1u << 30;
constexpr std::size_t kMaxPackEntries = 10000;

enum class PackProblem { None, NoList, Empty, UnsafeName, BadSize, TooLarge, BadCrc };

struct CPackList {
    PackProblem problem = PackProblem::None;
    std::string detail;  // the offending entry's name or the reply's problem
    std::vector<CPackEntry> entries;
    std::uint64_t total = 0;  // the sum of the sizes
};

// Reads every Object element of the pack reply. Names go into paths and into a shell script,
// so one entry that is not a plain name in a plain folder refuses the whole pack.
CPackList ReadPackList(const JSONArray& elements);

// Letters, digits, ".", "_", "-" and "+", not starting with "-" and not "." or "..".
bool IsPlainFileName(const std::string& name);
// Plain names joined by single "/"; empty is the program's folder itself.
bool IsPlainFolder(const std::string& dst);
