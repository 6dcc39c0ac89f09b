#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "update/RemoteService.h"

// A published version that differs from the program's own, with the client it was offered to.
struct COffer {
    std::string clientId;
    std::string finger;
    std::string version;
};

enum class CheckOutcome { NewVersion, UpToDate, NoAnswer };

struct CVersionCheck {
    CheckOutcome outcome = CheckOutcome::NoAnswer;
    std::vector<COffer> offers;  // in reply order; not empty for NewVersion
    std::string reason;          // for NoAnswer
};

// The start-up check: identifies this client, asks for the project's published version for
// every identity and collects those that differ from the own version (ignoring case; an older
// one differs too). All calls together end by `deadline`, however many objects the replies
// hold. A missing or empty version is no answer.
CVersionCheck CheckPublishedVersions(const CRemoteService& service,
                                     std::chrono::milliseconds deadline);

constexpr std::chrono::milliseconds kStartupCheckDeadline{5000};
