#pragma once

#include <chrono>
#include <string>

#include "update/PackList.h"
#include "update/RemoteService.h"
#include "update/UpdateObserver.h"
#include "update/VersionCheck.h"

// How hard and how long a download tries. Chunk calls that bring nothing are asked again after
// a pause, a few times in a row; a file whose CRC-32 is wrong is fetched again, a few times; a
// file gets at most 20 + size / 1,000 calls in all. Every call ends within its deadline, and the
// whole update within `updateBase` plus `updatePerMiB` for each MiB of the pack.
struct CFetchSettings {
    int chunkTries = 5;
    std::chrono::milliseconds retryPause{1000};
    int fileTries = 3;
    std::chrono::milliseconds connect{5000};
    std::chrono::milliseconds read{30000};
    std::chrono::milliseconds callDeadline{30000};
    std::chrono::milliseconds updateBase{std::chrono::minutes(2)};
    std::chrono::milliseconds updatePerMiB{std::chrono::minutes(1)};
};

// What every call of one update shares: where it goes, and when the update must end.
struct CFetchContext {
    const CRemoteService& service;
    const COffer& offer;
    const CFetchSettings& settings;
    CUpdateObserver& observer;
    std::chrono::steady_clock::time_point updateDeadline;

    // The limits of one call whose reply may hold `maxBody` bytes: its own deadline, the
    // update's if that comes first, and the observer's stop request.
    CPostLimits CallLimits(std::size_t maxBody) const;
    // Waits `pause`, or less when a stop is asked for; false then.
    bool Pause(std::chrono::milliseconds pause) const;
};

enum class FetchResult { Fetched, Stopped, Unanswered, CrcMismatch, TimedOut };

// Downloads `entry` into `bytes` (exactly its size) in adaptive chunks and checks its CRC-32.
// `chunkLength` carries the adapted length from one file to the next.
FetchResult FetchFile(const CFetchContext& context, const CPackEntry& entry, int& chunkLength,
                      std::string& bytes);
