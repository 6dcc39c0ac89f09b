#include "update/PackList.h"

#include <set>

namespace {

// The installer scripts of both platforms, and their temporary names, in the program's folder.
constexpr const char* kScriptNames[] = {"update.sh", "update.bat"};

std::optional<std::uint64_t> ParseUnsigned(const std::string& text, std::uint64_t maximum) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (maximum - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// A CRC-32 as the service writes it: unsigned, or signed with its 32-bit two's complement.
std::optional<std::uint32_t> ParseCrc(const std::string& text) {
    if (!text.empty() && text[0] == '-') {
        const auto magnitude = ParseUnsigned(text.substr(1), 0x80000000u);
        if (!magnitude) return std::nullopt;
        return static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(*magnitude));
    }
    const auto value = ParseUnsigned(text, UINT32_MAX);
    if (!value) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

// Narrowing keeps the low byte of each unit: a unit above ASCII must not slip through as a
// plain character of a name.
bool HasOnlyAscii(const JSONValue& element, const std::u16string& key) {
    const auto field = element.AsObject().find(key);
    if (field == element.AsObject().end() || !field->second->IsString()) return true;
    for (const char16_t unit : field->second->AsString()) {
        if (unit > 0x7F) return false;
    }
    return true;
}

// Paths as a file system that ignores letter case sees them: names are ASCII.
std::string Folded(std::string path) {
    for (char& c : path) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return path;
}

// Whether the entries meet on disk; `clash` is then the path of the later one.
bool Collide(const CPackList& pack, std::string& clash) {
    std::set<std::string> files;
    std::set<std::string> folders;
    for (const char* script : kScriptNames) {
        files.insert(script);
        files.insert(std::string(script) + "_u");
    }
    for (const CPackEntry& entry : pack.entries) {
        const std::string path = Folded(entry.Path());
        clash = entry.Path();
        if (!files.insert(path).second || !files.insert(path + "_u").second) return true;
        for (std::size_t slash = path.find('/'); slash != std::string::npos;
             slash = path.find('/', slash + 1))
            folders.insert(path.substr(0, slash));
    }
    for (const std::string& folder : folders) {
        if (files.count(folder) != 0) {
            clash = folder;
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name.size() > 255 || name == "." || name == ".." || name[0] == '-')
        return false;
    if (name.find("..") != std::string::npos) return false;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-' || c == '+';
        if (!plain) return false;
    }
    return true;
}

bool IsPlainFolder(const std::string& dst) {
    if (dst.empty()) return true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = dst.find('/', start);
        if (!IsPlainFileName(dst.substr(start, slash - start))) return false;
        if (slash == std::string::npos) return true;
        start = slash + 1;
    }
}

CPackList ReadPackList(const JSONArray& elements) {
    CPackList pack;
    auto refuse = [&](PackProblem problem, std::string detail) {
        pack = {};
        pack.problem = problem;
        pack.detail = std::move(detail);
        return pack;
    };
    std::size_t count = 0;
    for (const auto& element : elements) {
        if (!element->IsObject()) continue;
        CPackEntry entry;
        entry.id = StringField(*element, u"id");
        entry.name = StringField(*element, u"name");
        entry.dst = StringField(*element, u"dst");
        if (!HasOnlyAscii(*element, u"name") || !HasOnlyAscii(*element, u"dst") ||
            !IsPlainFileName(entry.name) || !IsPlainFolder(entry.dst))
            return refuse(PackProblem::UnsafeName, entry.Path());
        const auto size = ParseUnsigned(StringField(*element, u"size"), UINT64_MAX);
        if (!size) return refuse(PackProblem::BadSize, entry.Path());
        entry.size = *size;
        if (entry.size > kMaxFileSize || pack.total + entry.size > kMaxPackSize ||
            ++count > kMaxPackEntries)
            return refuse(PackProblem::TooLarge, entry.Path());
        const auto crc = ParseCrc(StringField(*element, u"crc"));
        if (!crc) return refuse(PackProblem::BadCrc, entry.Path());
        entry.crc = *crc;
        pack.total += entry.size;

        std::optional<CPackEntry>* signing = nullptr;
        if (entry.dst.empty() && entry.name == kManifestName) signing = &pack.manifest;
        if (entry.dst.empty() && entry.name == kSignatureName) signing = &pack.signature;
        if (signing == nullptr) {
            pack.entries.push_back(std::move(entry));
            continue;
        }
        if (entry.size > (signing == &pack.manifest ? kMaxManifestSize : kMaxSignatureSize))
            return refuse(PackProblem::TooLarge, entry.Path());
        if (signing->has_value()) return refuse(PackProblem::Duplicate, entry.Path());
        *signing = std::move(entry);
    }
    if (pack.entries.empty()) return refuse(PackProblem::Empty, {});
    std::string clash;
    if (Collide(pack, clash)) return refuse(PackProblem::Duplicate, clash);
    return pack;
}
