#include "update/PackList.h"

#include <optional>

namespace {

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
        pack.problem = problem;
        pack.detail = std::move(detail);
        pack.entries.clear();
        pack.total = 0;
        return pack;
    };
    for (const auto& element : elements) {
        if (!element->IsObject()) continue;
        CPackEntry entry;
        entry.id = StringField(*element, u"id");
        entry.name = StringField(*element, u"name");
        entry.dst = StringField(*element, u"dst");
        if (!HasOnlyAscii(*element, u"name") || !HasOnlyAscii(*element, u"dst") ||
            !IsPlainFileName(entry.name) || !IsPlainFolder(entry.dst))
            return refuse(PackProblem::UnsafeName, entry.dst.empty() ? entry.name : entry.Path());
        const std::string sizeText = StringField(*element, u"size");
        const auto size = ParseUnsigned(sizeText, UINT64_MAX);
        if (!size) return refuse(PackProblem::BadSize, entry.Path());
        if (*size > kMaxFileSize || pack.total + *size > kMaxPackSize ||
            pack.entries.size() >= kMaxPackEntries)
            return refuse(PackProblem::TooLarge, entry.Path());
        const auto crc = ParseUnsigned(StringField(*element, u"crc"), UINT32_MAX);
        if (!crc) return refuse(PackProblem::BadCrc, entry.Path());
        entry.size = *size;
        entry.crc = static_cast<std::uint32_t>(*crc);
        pack.total += entry.size;
        pack.entries.push_back(std::move(entry));
    }
    if (pack.entries.empty()) return refuse(PackProblem::Empty, {});
    return pack;
}
