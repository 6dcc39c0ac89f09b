#pragma once

#include <cstdint>
#include <optional>
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

// The signed list of the pack's files and its minisign signature travel as two entries of the
// pack in the program's folder; they are fetched first and never installed.
constexpr const char* kManifestName = "vevo.manifest";
constexpr const char* kSignatureName = "vevo.manifest.minisig";

// The bounds a pack must keep; a larger one refuses the update.
constexpr std::uint64_t kMaxFileSize = 64u << 20;
constexpr std::uint64_t kMaxPackSize = 1u << 30;
constexpr std::size_t kMaxPackEntries = 10000;
constexpr std::uint64_t kMaxManifestSize = 2u << 20;
constexpr std::uint64_t kMaxSignatureSize = 8u << 10;

enum class PackProblem { None, NoList, Empty, UnsafeName, Duplicate, BadSize, TooLarge, BadCrc };

struct CPackList {
    PackProblem problem = PackProblem::None;
    std::string detail;                // the offending entry's path or the reply's problem
    std::vector<CPackEntry> entries;   // the files to install, in reply order
    std::optional<CPackEntry> manifest;
    std::optional<CPackEntry> signature;
    std::uint64_t total = 0;  // the sum of all sizes
};

// Reads every Object element of the pack reply. Names go into paths and into a script, so one
// entry that is not a plain name in a plain folder refuses the whole pack, and so does one that
// would meet another on disk: the same path (letter case aside, as Windows sees it), a path that
// is another's download name (PATH_u) or another's folder, or the update script's own names.
CPackList ReadPackList(const JSONArray& elements);

// Letters, digits, ".", "_", "-" and "+", not starting with "-" and not "." or "..".
bool IsPlainFileName(const std::string& name);
// Plain names joined by single "/"; empty is the program's folder itself.
bool IsPlainFolder(const std::string& dst);
