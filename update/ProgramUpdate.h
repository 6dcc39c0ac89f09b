#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "update/ChunkFetch.h"
#include "update/RemoteService.h"
#include "update/UpdateObserver.h"
#include "update/UpdateScript.h"
#include "update/VersionCheck.h"

// Where an update installs, whom it trusts and how it finishes.
struct CUpdateSettings {
    std::filesystem::path folder;       // the program's folder: the working directory
    std::filesystem::path programPath;  // the running program's own file
    unsigned long programProcess = 0;   // the running program, which the script waits for
    std::string publicKey;  // the publisher's minisign public key line; empty: none is asked for
    CFetchSettings fetch;
    // Starts the written script; false when it could not be started.
    std::function<bool(const std::filesystem::path& folder)> startScript = StartScriptDetached;
};
// The working directory, this process and its own executable, and the build's key.
CUpdateSettings DefaultUpdateSettings();

// An update replaces the files of the working folder, so it applies only to the program that
// lives there: the installed or portable layout, not a build started from elsewhere.
bool RunsFromItsFolder(const CUpdateSettings& settings);

enum class UpdateOutcome { Started, NothingToInstall, Stopped, Failed };

enum class UpdateFailure {
    None,
    BadKey,
    NoPackList,
    EmptyPack,
    UnsafeName,
    DuplicateName,
    BadSize,
    TooLarge,
    BadCrc,
    NoManifest,
    NoSignature,
    BadSignature,
    OtherKey,
    BadManifest,
    WrongVersion,
    Unlisted,
    SizeDiffers,
    NotInPack,
    LinkInTheWay,
    NotRegular,
    ChunkUnanswered,
    CrcMismatch,
    HashMismatch,
    TimedOut,
    WriteFailed,
    ScriptNotWritten,
    ScriptNotStarted,
};

struct CUpdateResult {
    UpdateOutcome outcome = UpdateOutcome::Failed;
    UpdateFailure failure = UpdateFailure::None;
    std::string detail;  // the file concerned, the manifest's version, or the reply's problem
};

// One line for a failed update, in the command's words and in the operator's.
std::string FailureReason(const CUpdateResult& result);
std::string FailureMessage(const CUpdateResult& result);

// The whole update to `offer`. It reads the pack list and refuses it whole if any entry is
// unsafe, too large or meets another on disk; with a public key, it fetches the signed manifest
// and its signature first and refuses a pack that they do not vouch for, entry by entry. It
// refuses a link or a non-file at any target, skips the files that are current, downloads the
// others beside their targets as "PATH_u", each checked against its CRC-32 and the manifest,
// then writes the script and starts it. Nothing is installed unless every file came whole; a
// failure removes the files it downloaded.
CUpdateResult RunProgramUpdate(const CRemoteService& service, const COffer& offer,
                               const CUpdateSettings& settings, CUpdateObserver& observer);
