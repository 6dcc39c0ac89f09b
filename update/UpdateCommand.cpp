#include "update/UpdateCommand.h"

#include <cstdio>

#include "Utils/EscapedText.h"
#include "Utils/FilePath.h"
#include "Utils/TextConversion.h"
#include "app/ProgramInfo.h"
#include "app/toolkit/CommandLine.h"
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

const CCommandSyntax kUpdateCommand = {
    "update",
    "check for a new version (--check), or install it without questions (--yes)",
    {"--check", "--yes"},
    "Asks the remote service whether a newer version is published, as the window does at its "
    "start, and prints 'new version X', 'up to date X' or 'no answer: REASON'. With --yes a new "
    "version is installed without questions: 'current PATH' or 'fetched PATH N bytes' per file, "
    "then the installer script is written and started, or 'nothing to install', or 'update "
    "failed: REASON' with nothing installed. A program that is not its working folder's own "
    "file prints 'update not possible: ...'. These lines go to standard output.",
    {},
    {{"check", nullptr, "only ask, and print the answer"},
     {"yes", nullptr, "ask, and install a new version without questions"}},
    {{0, "the service answered, and a new version was started or had nothing to install"},
     {1, "no answer, the update failed, or the program is not in its working folder"},
     {2, "bad arguments"}},
};

int RunUpdateCommand(int argc, char** argv) {
    const CProgramInfo info;
    return RunUpdateCommandWith(argc, argv, {info.GetGatewayHost(), 80}, DefaultUpdateSettings());
}

int RunUpdateCommandWith(int argc, char** argv, const CGatewayAddress& gateway,
                         const CUpdateSettings& settings) {
    CCommandLine line(kUpdateCommand);
    if (const auto status = line.Parse(argc, argv)) return *status;
    const bool install = line.IsSet("yes");
    if (install == line.IsSet("check")) return line.Refuse("give either --check or --yes");
    if (!RunsFromItsFolder(settings)) {
        // The update replaces the working folder's files, which are not this program's.
        std::printf("update not possible: %s is not the program of the working folder %s\n",
                    EscapedControls(Utf8OfPath(settings.programPath)).c_str(),
                    EscapedControls(Utf8OfPath(settings.folder)).c_str());
        return 1;
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
    const COffer& offer = check.offer;
    std::printf("new version %s\n", EscapedControls(Cp1251ToUtf8(offer.version)).c_str());
    if (!install) return 0;
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
