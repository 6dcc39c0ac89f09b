#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "update/ChunkFetch.h"
#include "update/RemoteService.h"
#include "update/UpdateObserver.h"
#include "update/UpdateScript.h"
#include "update/VersionCheck.h"

// Where an update installs and how it finishes.
struct CUpdateSettings {
    std::filesystem::path folder;       // the program's folder: the working directory
    std::filesystem::path programPath;  // the running program's own file
    int scriptPauseSeconds = 5;
    CFetchSettings fetch;
    // Starts the written script; false when it could not be started.
    std::function<bool(const std::filesystem::path& folder)> startScript = StartScriptDetached;
};
// The working directory and this process's own executable.
CUpdateSettings DefaultUpdateSettings();

enum class UpdateOutcome { Started, NothingToInstall, Stopped, Failed };

enum class UpdateFailure {
    None,
    NoPackList,
    EmptyPack,
    UnsafeName,
    BadSize,
    TooLarge,
    BadCrc,
    ChunkUnanswered,
    CrcMismatch,
    WriteFailed,
    ScriptNotWritten,
    ScriptNotStarted,
};

struct CUpdateResult {
    UpdateOutcome outcome = UpdateOutcome::Failed;
    UpdateFailure failure = UpdateFailure::None;
    std::string detail;  // the file concerned, or the reply's problem
};

// One line for a failed update, in the command's words and in the operator's.
std::string FailureReason(const CUpdateResult& result);
std::string FailureMessage(const CUpdateResult& result);

// The whole update to `offer`: reads the pack list, refuses it whole if any entry is unsafe or
// too large, skips the files that are current, downloads the others beside their targets as
// "NAME_u" with their CRC-32 checked, then writes update.sh and starts it. Nothing is
// installed unless every file came whole; a failure removes the files it downloaded.
CUpdateResult RunProgramUpdate(const CRemoteService& service, const COffer& offer,
                               const CUpdateSettings& settings, CUpdateObserver& observer);
