#include "update/ProgramUpdate.h"

#include <set>
#include <vector>

#include "Utils/FilePath.h"
#include "app/ProgramInfo.h"
#include "update/Crc32.h"
#include "update/FolderFiles.h"
#include "update/Manifest.h"
#include "update/Minisign.h"
#include "update/PackList.h"

namespace {

using Clock = std::chrono::steady_clock;

// A pack list of the largest pack: 10,000 entries of a few hundred bytes each.
constexpr std::size_t kMaxPackListReply = 4u << 20;

UpdateFailure FailureOf(PackProblem problem) {
    switch (problem) {
        case PackProblem::None:
            return UpdateFailure::None;
        case PackProblem::NoList:
            return UpdateFailure::NoPackList;
        case PackProblem::Empty:
            return UpdateFailure::EmptyPack;
        case PackProblem::UnsafeName:
            return UpdateFailure::UnsafeName;
        case PackProblem::Duplicate:
            return UpdateFailure::DuplicateName;
        case PackProblem::BadSize:
            return UpdateFailure::BadSize;
        case PackProblem::TooLarge:
            return UpdateFailure::TooLarge;
        case PackProblem::BadCrc:
            return UpdateFailure::BadCrc;
    }
    return UpdateFailure::NoPackList;
}

// One update's run: what it has written, to take it back on a failure.
class CUpdateRun {
public:
    CUpdateRun(const CRemoteService& service, const COffer& offer, const CUpdateSettings& settings,
               CUpdateObserver& observer)
        : settings_(settings),
          context_{service, offer, settings.fetch, observer,
                   Clock::now() + settings.fetch.updateBase} {}

    CUpdateResult Run();

private:
    CUpdateResult Fail(UpdateFailure failure, std::string detail = {});
    CUpdateResult Ended(UpdateOutcome outcome);
    // Why a fetch did not bring its file, as the update's result.
    CUpdateResult FetchFailed(FetchResult result, const CPackEntry& entry);
    // The manifest and its signature fetched and checked against the key, the offered version
    // and every entry; nullopt when they hold, else the refusal.
    std::optional<CUpdateResult> CheckSigned(const CPublicKey& key, const CPackList& pack);
    // Whether the local file at the entry's path is the announced one.
    bool IsCurrent(const CPackEntry& entry, const CLocalFile& local) const;

    const CUpdateSettings& settings_;
    CFetchContext context_;
    std::optional<CManifest> manifest_;
    std::vector<std::string> written_;
    int chunkLength_ = 5000;
};

CUpdateResult CUpdateRun::Fail(UpdateFailure failure, std::string detail) {
    for (const std::string& path : written_) RemoveFolderFile(settings_.folder, path);
    CUpdateResult result;
    result.failure = failure;
    result.detail = std::move(detail);
    return result;
}

CUpdateResult CUpdateRun::Ended(UpdateOutcome outcome) {
    CUpdateResult result;
    result.outcome = outcome;
    return result;
}

CUpdateResult CUpdateRun::FetchFailed(FetchResult result, const CPackEntry& entry) {
    switch (result) {
        case FetchResult::Fetched:
            break;
        case FetchResult::Stopped:
            return Ended(UpdateOutcome::Stopped);
        case FetchResult::Unanswered:
            return Fail(UpdateFailure::ChunkUnanswered, entry.Path());
        case FetchResult::CrcMismatch:
            return Fail(UpdateFailure::CrcMismatch, entry.Path());
        case FetchResult::TimedOut:
            return Fail(UpdateFailure::TimedOut);
    }
    return Fail(UpdateFailure::ChunkUnanswered, entry.Path());
}

std::optional<CUpdateResult> CUpdateRun::CheckSigned(const CPublicKey& key,
                                                     const CPackList& pack) {
    if (!pack.manifest) return Fail(UpdateFailure::NoManifest);
    if (!pack.signature) return Fail(UpdateFailure::NoSignature);
    std::string text;
    std::string signature;
    if (const FetchResult got = FetchFile(context_, *pack.manifest, chunkLength_, text);
        got != FetchResult::Fetched)
        return FetchFailed(got, *pack.manifest);
    if (const FetchResult got = FetchFile(context_, *pack.signature, chunkLength_, signature);
        got != FetchResult::Fetched)
        return FetchFailed(got, *pack.signature);
    switch (VerifyMinisign(key, text, signature)) {
        case SignatureCheck::Good:
            break;
        case SignatureCheck::OtherKey:
            return Fail(UpdateFailure::OtherKey);
        case SignatureCheck::Unreadable:
        case SignatureCheck::Bad:
            return Fail(UpdateFailure::BadSignature);
    }
    manifest_ = ReadManifest(text);
    if (!manifest_) return Fail(UpdateFailure::BadManifest);
    // A manifest signed for another release, replayed, vouches for nothing offered now.
    if (manifest_->version != context_.offer.version)
        return Fail(UpdateFailure::WrongVersion, manifest_->version);
    for (const CPackEntry& entry : pack.entries) {
        const auto listed = manifest_->files.find(entry.Path());
        if (listed == manifest_->files.end()) return Fail(UpdateFailure::Unlisted, entry.Path());
        if (listed->second.size != entry.size)
            return Fail(UpdateFailure::SizeDiffers, entry.Path());
    }
    // A pack without a file the release has would install a mix of two releases.
    std::set<std::string> paths;
    for (const CPackEntry& entry : pack.entries) paths.insert(entry.Path());
    for (const auto& [path, file] : manifest_->files) {
        if (paths.count(path) == 0) return Fail(UpdateFailure::NotInPack, path);
    }
    return std::nullopt;
}

bool CUpdateRun::IsCurrent(const CPackEntry& entry, const CLocalFile& local) const {
    if (local.kind != LocalKind::File || local.size != entry.size) return false;
    if (manifest_) return MatchesManifest(manifest_->files.at(entry.Path()), local.bytes);
    return Crc32(local.bytes) == entry.crc;
}

CUpdateResult CUpdateRun::Run() {
    std::optional<CPublicKey> key;
    if (!settings_.publicKey.empty()) {
        key = ReadPublicKey(settings_.publicKey);
        if (!key) return Fail(UpdateFailure::BadKey);
    }
    const CRemoteService& service = context_.service;
    const COffer& offer = context_.offer;
    const CServiceReply reply =
        service.Call(service.PackListCall(offer.clientId, offer.version, offer.finger),
                     context_.CallLimits(kMaxPackListReply));
    if (reply.status == PostStatus::Stopped) return Ended(UpdateOutcome::Stopped);
    const JSONArray* elements = reply.Elements();
    if (elements == nullptr) return Fail(UpdateFailure::NoPackList, reply.Problem());
    const CPackList pack = ReadPackList(*elements);
    if (pack.problem != PackProblem::None) return Fail(FailureOf(pack.problem), pack.detail);
    const std::uint64_t mebibytes = (pack.total + (1u << 20) - 1) >> 20;
    context_.updateDeadline += settings_.fetch.updatePerMiB * static_cast<long long>(mebibytes);
    context_.observer.PackRead(pack.total);

    if (key) {
        if (auto refused = CheckSigned(*key, pack)) return std::move(*refused);
        context_.observer.Advance(pack.manifest->size + pack.signature->size);
    }

    // Where every file stands, before anything is fetched or written.
    std::vector<const CPackEntry*> wanted;
    for (const CPackEntry& entry : pack.entries) {
        const CLocalFile local = InspectFolderFile(settings_.folder, entry.Path(), entry.size);
        if (local.kind == LocalKind::Link) return Fail(UpdateFailure::LinkInTheWay, entry.Path());
        if (local.kind == LocalKind::NotRegular)
            return Fail(UpdateFailure::NotRegular, entry.Path());
        if (!IsCurrent(entry, local)) {
            wanted.push_back(&entry);
            continue;
        }
        context_.observer.Advance(entry.size);
        context_.observer.EntryCurrent(entry);
    }

    CScriptPlan plan;
    plan.program = Utf8OfPath(settings_.programPath.filename());
    plan.programProcess = settings_.programProcess;
    std::string bytes;
    for (const CPackEntry* entry : wanted) {
        if (context_.observer.StopRequested()) return Ended(UpdateOutcome::Stopped);
        if (const FetchResult got = FetchFile(context_, *entry, chunkLength_, bytes);
            got != FetchResult::Fetched)
            return FetchFailed(got, *entry);
        // Checked before anything is written: a file the publisher did not sign never lands.
        if (manifest_ && !MatchesManifest(manifest_->files.at(entry->Path()), bytes))
            return Fail(UpdateFailure::HashMismatch, entry->Path());
        const std::string fresh = entry->Path() + "_u";
        written_.push_back(fresh);
        switch (WriteNewFolderFile(settings_.folder, fresh, bytes)) {
            case WriteOutcome::Written:
                break;
            case WriteOutcome::LinkInTheWay:
                return Fail(UpdateFailure::LinkInTheWay, entry->Path());
            case WriteOutcome::Failed:
                return Fail(UpdateFailure::WriteFailed, entry->Path());
        }
        plan.installed.push_back(entry->Path());
        plan.programIsNew = plan.programIsNew || entry->Path() == plan.program;
        context_.observer.EntryFetched(*entry);
    }
    if (context_.observer.StopRequested()) return Ended(UpdateOutcome::Stopped);
    if (plan.installed.empty()) return Ended(UpdateOutcome::NothingToInstall);
    switch (WriteScript(settings_.folder, plan)) {
        case WriteOutcome::Written:
            break;
        case WriteOutcome::LinkInTheWay:
        case WriteOutcome::Failed:
            return Fail(UpdateFailure::ScriptNotWritten, kScriptName);
    }
    if (!settings_.startScript(settings_.folder)) {
        written_.push_back(kScriptName);
        return Fail(UpdateFailure::ScriptNotStarted, kScriptName);
    }
    return Ended(UpdateOutcome::Started);
}

}  // namespace

CUpdateSettings DefaultUpdateSettings() {
    CUpdateSettings settings;
    std::error_code error;
    settings.folder = std::filesystem::current_path(error);
    settings.programPath = RunningProgramPath();
    settings.programProcess = RunningProcessId();
    settings.publicKey = CProgramInfo().GetUpdatePublicKey();
    return settings;
}

bool RunsFromItsFolder(const CUpdateSettings& settings) {
    std::error_code error;
    return !settings.programPath.empty() &&
           std::filesystem::equivalent(settings.programPath.parent_path(), settings.folder, error);
}

CUpdateResult RunProgramUpdate(const CRemoteService& service, const COffer& offer,
                               const CUpdateSettings& settings, CUpdateObserver& observer) {
    return CUpdateRun(service, offer, settings, observer).Run();
}
