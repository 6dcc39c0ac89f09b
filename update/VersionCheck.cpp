#include "update/VersionCheck.h"

#include <strings.h>

#include <vector>

namespace {

// The runs of digits of a version text, without their leading zeros.
std::vector<std::string_view> NumbersOf(std::string_view text) {
    std::vector<std::string_view> numbers;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] < '0' || text[pos] > '9') {
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        while (pos + 1 < end && text[pos] == '0') ++pos;
        numbers.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return numbers;
}

// Numbers of any length compared as numbers: the longer is greater, else digit by digit.
int CompareNumbers(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace

std::optional<int> CompareVersionNumbers(std::string_view a, std::string_view b) {
    const std::vector<std::string_view> left = NumbersOf(a);
    const std::vector<std::string_view> right = NumbersOf(b);
    if (left.empty() || right.empty()) return std::nullopt;
    for (std::size_t i = 0; i < left.size() && i < right.size(); ++i) {
        if (const int order = CompareNumbers(left[i], right[i]); order != 0) return order;
    }
    if (left.size() == right.size()) return 0;
    return left.size() < right.size() ? -1 : 1;
}

bool IsNewerVersion(std::string_view published, std::string_view own) {
    if (const auto order = CompareVersionNumbers(published, own)) return *order > 0;
    return strcasecmp(std::string(published).c_str(), std::string(own).c_str()) != 0;
}

CVersionCheck CheckPublishedVersions(const CRemoteService& service,
                                     std::chrono::milliseconds deadline) {
    CPostLimits limits;
    limits.deadline = std::chrono::steady_clock::now() + deadline;
    limits.maxBody = 1u << 20;
    CVersionCheck check;
    const CServiceReply identify = service.Call(service.IdentifyCall(), limits);
    const JSONArray* clients = identify.Elements();
    if (clients == nullptr) {
        check.reason = identify.Problem();
        return check;
    }
    check.reason = "no client identity";
    bool answered = false;
    bool offered = false;
    for (const auto& client : *clients) {
        if (!client->IsObject()) continue;
        const std::string id = StringField(*client, u"id");
        const std::string finger = StringField(*client, u"finger");
        const CServiceReply info = service.Call(service.ProjectInfoCall(id, finger), limits);
        const JSONArray* projects = info.Elements();
        if (projects == nullptr) {
            check.reason = info.Problem();
            continue;
        }
        check.reason = "no published version";
        for (const auto& project : *projects) {
            const std::string version = StringField(*project, u"project_version");
            if (version.empty()) continue;
            answered = true;
            if (!IsNewerVersion(version, service.Info().GetVersion())) continue;
            // One question per start: only the newest is kept, the first of equals.
            if (offered) {
                const auto order = CompareVersionNumbers(version, check.offer.version);
                if (!order || *order <= 0) continue;
            }
            check.offer = {id, finger, version};
            offered = true;
        }
    }
    if (offered) {
        check.outcome = CheckOutcome::NewVersion;
    } else if (answered) {
        check.outcome = CheckOutcome::UpToDate;
    }
    if (check.outcome != CheckOutcome::NoAnswer) check.reason.clear();
    return check;
}
