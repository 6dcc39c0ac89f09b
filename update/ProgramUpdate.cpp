#include "update/ProgramUpdate.h"

#include <cstdio>
#include <system_error>
#include <vector>

#include "update/Crc32.h"
#include "update/PackList.h"

namespace {

// A name from the service, fit for one line whatever it holds.
std::string Printable(const std::string& text) {
    std::string shown;
    for (const char c : text) shown += (c >= 32 && c < 127) ? c : '?';
    return shown;
}

// The local copy's CRC-32; a missing or unreadable file gives 0.
std::uint32_t LocalCrc(const std::filesystem::path& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return 0;
    std::string bytes;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    const bool whole = std::ferror(file) == 0;
    std::fclose(file);
    return whole ? Crc32(bytes) : 0;
}

bool WriteWhole(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

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
        case PackProblem::BadSize:
            return UpdateFailure::BadSize;
        case PackProblem::TooLarge:
            return UpdateFailure::TooLarge;
        case PackProblem::BadCrc:
            return UpdateFailure::BadCrc;
    }
    return UpdateFailure::NoPackList;
}

}  // namespace

CUpdateSettings DefaultUpdateSettings() {
    CUpdateSettings settings;
    std::error_code error;
    settings.folder = std::filesystem::current_path(error);
    settings.programPath = std::filesystem::read_symlink("/proc/self/exe", error);
    return settings;
}

std::string FailureReason(const CUpdateResult& result) {
    const std::string detail = Printable(result.detail);
    switch (result.failure) {
        case UpdateFailure::None:
            return {};
        case UpdateFailure::NoPackList:
            return "no usable pack list (" + detail + ")";
        case UpdateFailure::EmptyPack:
            return "the pack list is empty";
        case UpdateFailure::UnsafeName:
            return "unsafe file name " + detail;
        case UpdateFailure::BadSize:
            return "bad size for " + detail;
        case UpdateFailure::TooLarge:
            return "too large: " + detail;
        case UpdateFailure::BadCrc:
            return "bad crc for " + detail;
        case UpdateFailure::ChunkUnanswered:
            return "no answer for a chunk of " + detail;
        case UpdateFailure::CrcMismatch:
            return "wrong crc after download of " + detail;
        case UpdateFailure::WriteFailed:
            return "could not write " + detail;
        case UpdateFailure::ScriptNotWritten:
            return "could not write update.sh";
        case UpdateFailure::ScriptNotStarted:
            return "could not start update.sh";
    }
    return "unknown";
}

std::string FailureMessage(const CUpdateResult& result) {
    const std::string detail = Printable(result.detail);
    switch (result.failure) {
        case UpdateFailure::None:
            return {};
        case UpdateFailure::NoPackList:
            return "Сервіс не надав список файлів оновлення.";
        case UpdateFailure::EmptyPack:
            return "Список файлів оновлення порожній.";
        case UpdateFailure::UnsafeName:
            return "Неприпустиме ім'я файлу в оновленні: " + detail;
        case UpdateFailure::BadSize:
        case UpdateFailure::BadCrc:
            return "Хибний опис файлу в оновленні: " + detail;
        case UpdateFailure::TooLarge:
            return "Файл оновлення завеликий: " + detail;
        case UpdateFailure::ChunkUnanswered:
            return "Сервіс не відповідає, файл: " + detail;
        case UpdateFailure::CrcMismatch:
            return "Файл завантажено з помилками: " + detail;
        case UpdateFailure::WriteFailed:
            return "Не вдалося записати файл: " + detail;
        case UpdateFailure::ScriptNotWritten:
            return "Не вдалося записати update.sh.";
        case UpdateFailure::ScriptNotStarted:
            return "Не вдалося запустити update.sh.";
    }
    return {};
}

CUpdateResult RunProgramUpdate(const CRemoteService& service, const COffer& offer,
                               const CUpdateSettings& settings, CUpdateObserver& observer) {
    CUpdateResult result;
    CPostLimits limits = settings.fetch.chunkLimits;
    limits.maxBody = 16u << 20;
    const CServiceReply reply =
        service.Call(service.PackListCall(offer.clientId, offer.version, offer.finger), limits);
    const JSONArray* elements = reply.Elements();
    if (elements == nullptr) {
        result.failure = UpdateFailure::NoPackList;
        result.detail = reply.Problem();
        return result;
    }
    const CPackList pack = ReadPackList(*elements);
    if (pack.problem != PackProblem::None) {
        result.failure = FailureOf(pack.problem);
        result.detail = pack.detail;
        return result;
    }
    observer.PackRead(pack.total);

    const std::string programName = settings.programPath.filename().string();
    CScriptPlan plan{settings.folder, {}, settings.programPath, false, settings.scriptPauseSeconds};
    std::vector<std::filesystem::path> written;
    auto fail = [&](UpdateFailure failure, const std::string& detail) {
        std::error_code error;
        for (const auto& path : written) std::filesystem::remove(path, error);
        result.outcome = UpdateOutcome::Failed;
        result.failure = failure;
        result.detail = detail;
        return result;
    };
    int chunkLength = 5000;
    std::string bytes;
    for (const CPackEntry& entry : pack.entries) {
        if (observer.StopRequested()) {
            result.outcome = UpdateOutcome::Stopped;
            return result;
        }
        const std::filesystem::path target = settings.folder / entry.Path();
        if (LocalCrc(target) == entry.crc) {
            observer.Advance(entry.size);
            observer.EntryCurrent(entry);
            continue;
        }
        switch (FetchFile(service, offer, entry, settings.fetch, observer, chunkLength, bytes)) {
            case FetchResult::Fetched:
                break;
            case FetchResult::Stopped:
                result.outcome = UpdateOutcome::Stopped;
                return result;
            case FetchResult::Unanswered:
                return fail(UpdateFailure::ChunkUnanswered, entry.Path());
            case FetchResult::CrcMismatch:
                return fail(UpdateFailure::CrcMismatch, entry.Path());
        }
        const std::filesystem::path fresh = settings.folder / (entry.Path() + "_u");
        written.push_back(fresh);
        if (!WriteWhole(fresh, bytes)) return fail(UpdateFailure::WriteFailed, entry.Path());
        plan.installed.push_back(entry.Path());
        // The later of two is the one started, as each replaces the start before it.
        if (entry.name == programName) {
            plan.start = target;
            plan.startIsNew = true;
        }
        observer.EntryFetched(entry);
    }
    if (observer.StopRequested()) {
        result.outcome = UpdateOutcome::Stopped;
        return result;
    }
    if (plan.installed.empty()) {
        result.outcome = UpdateOutcome::NothingToInstall;
        return result;
    }
    if (!WriteScript(plan)) return fail(UpdateFailure::ScriptNotWritten, {});
    if (!settings.startScript(settings.folder)) {
        std::error_code error;
        std::filesystem::remove(settings.folder / kScriptName, error);
        return fail(UpdateFailure::ScriptNotStarted, {});
    }
    result.outcome = UpdateOutcome::Started;
    return result;
}
