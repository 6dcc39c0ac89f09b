#include "update/VersionCheck.h"

#include <strings.h>

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
            if (strcasecmp(version.c_str(), service.Info().GetVersion()) != 0)
                check.offers.push_back({id, finger, version});
        }
    }
    if (!check.offers.empty()) {
        check.outcome = CheckOutcome::NewVersion;
    } else if (answered) {
        check.outcome = CheckOutcome::UpToDate;
    }
    if (check.outcome != CheckOutcome::NoAnswer) check.reason.clear();
    return check;
}
