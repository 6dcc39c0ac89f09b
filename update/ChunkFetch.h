#pragma once

#include <chrono>
#include <string>

#include "update/PackList.h"
#include "update/RemoteService.h"
#include "update/UpdateObserver.h"
#include "update/VersionCheck.h"

// How hard a download tries: chunk calls that bring nothing are asked again after a pause, a
// few times; a file whose CRC-32 is wrong is fetched again, a few times.
struct CFetchSettings {
    int chunkTries = 5;
    std::chrono::milliseconds retryPause{1000};
    int fileTries = 3;
    CPostLimits chunkLimits{std::chrono::milliseconds(5000), std::chrono::milliseconds(30000),
                            std::nullopt, 96u << 20};
};

enum class FetchResult { Fetched, Stopped, Unanswered, CrcMismatch };

// Downloads `entry` into `bytes` (exactly its size) in adaptive chunks and checks its CRC-32.
// `chunkLength` carries the adapted length from one file to the next.
FetchResult FetchFile(const CRemoteService& service, const COffer& offer, const CPackEntry& entry,
                      const CFetchSettings& settings, CUpdateObserver& observer, int& chunkLength,
                      std::string& bytes);
