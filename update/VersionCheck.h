#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "update/RemoteService.h"

// A published version newer than the program's own, with the client it was offered to.
struct COffer {
    std::string clientId;
    std::string finger;
    std::string version;
};

enum class CheckOutcome { NewVersion, UpToDate, NoAnswer };

struct CVersionCheck {
    CheckOutcome outcome = CheckOutcome::NoAnswer;
    COffer offer;        // for NewVersion: the newest of the newer versions offered
    std::string reason;  // for NoAnswer
};

// How two version texts compare by the numbers in them, in order ("v.0.05" < "v.0.06" <
// "v.0.10" < "v.0.10.1"): below, at or above 0. Nothing when either text holds no number.
std::optional<int> CompareVersionNumbers(std::string_view a, std::string_view b);
// Whether `published` is newer than `own`: by the numbers, or, for a text without numbers, when
// it differs from `own` other than in letter case.
bool IsNewerVersion(std::string_view published, std::string_view own);

// The start-up check: identifies this client, asks for the project's published version for
// every identity and keeps the newest that is newer than the own version. All calls together
// end by `deadline`, however many objects the replies hold. A missing or empty version is no
// answer.
CVersionCheck CheckPublishedVersions(const CRemoteService& service,
                                     std::chrono::milliseconds deadline);

constexpr std::chrono::milliseconds kStartupCheckDeadline{5000};
