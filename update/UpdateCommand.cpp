#include "update/UpdateCommand.h"

#include <cstdio>
#include <string_view>

#include "app/ProgramInfo.h"
#include "update/PackList.h"

namespace {

// The command's lines, one per entry.
class CPrintingObserver : public CUpdateObserver {
public:
    void EntryCurrent(const CPackEntry& entry) override {
        std::printf("current %s\n", entry.Path().c_str());
    }
    void EntryFetched(const CPackEntry& entry) override {
        std::printf("fetched %s %llu bytes\n", entry.Path().c_str(),
                    static_cast<unsigned long long>(entry.size));
    }
};

}  // namespace

int RunUpdateCommand(int argc, char** argv) {
    const CProgramInfo info;
    return RunUpdateCommandWith(argc, argv, {info.GetGatewayHost(), 80}, DefaultUpdateSettings());
}

int RunUpdateCommandWith(int argc, char** argv, const CGatewayAddress& gateway,
                         const CUpdateSettings& settings) {
    const std::string_view option = argc == 3 ? argv[2] : "";
    if (option != "--check" && option != "--yes") {
        std::printf("vevo update: give --check or --yes\n");
        return 2;
    }
    const CProgramInfo info;
    const CRemoteService service(info, gateway);
    const CVersionCheck check = CheckPublishedVersions(service, kStartupCheckDeadline);
    switch (check.outcome) {
        case CheckOutcome::NoAnswer:
            std::printf("no answer: %s\n", check.reason.c_str());
            return 1;
        case CheckOutcome::UpToDate:
            std::printf("up to date %s\n", info.GetVersion());
            return 0;
        case CheckOutcome::NewVersion:
            break;
    }
    const COffer& offer = check.offers.front();
    std::printf("new version %s\n", offer.version.c_str());
    if (option == "--check") return 0;
    std::fflush(stdout);

    CPrintingObserver observer;
    const CUpdateResult result = RunProgramUpdate(service, offer, settings, observer);
    switch (result.outcome) {
        case UpdateOutcome::Started:
            return 0;
        case UpdateOutcome::NothingToInstall:
            std::printf("nothing to install\n");
            return 0;
        case UpdateOutcome::Stopped:
        case UpdateOutcome::Failed:
            break;
    }
    std::printf("update failed: %s\n", FailureReason(result).c_str());
    return 1;
}
