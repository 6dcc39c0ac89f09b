#include "directory/import/ImportCommand.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "app/ProgramObjects.h"
#include "database/SQLite3Controller.h"
#include "directory/import/ImportLines.h"
#include "directory/import/Importer.h"

namespace {
constexpr const char* kUsage =
    "usage: vevo import devices|links FILE, or vevo import subscribers FILE --building BID";

int Complain(const std::string& text, int status) {
    std::fprintf(stderr, "vevo import: %s\n", text.c_str());
    return status;
}

// The building's id, or 0 when the text is no positive whole number.
int BuildingId(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return 0;
    const long long bid = LeadingInteger(text);
    return bid > 0 && bid <= 0x7FFFFFFF ? static_cast<int>(bid) : 0;
}

int Report(const CImportResult& result, const std::string& path) {
    switch (result.outcome) {
        case ImportOutcome::CannotOpen:
            return Complain(path + " cannot be opened", 1);
        case ImportOutcome::NoBuilding:
            return Complain("no such building", 1);
        case ImportOutcome::DatabaseFailed:
            return Complain("the database failed; nothing of " + path + " was stored", 1);
        case ImportOutcome::Read:
            break;
    }
    for (const CImportNote& note : result.notes)
        std::printf("line %d: %s\n", note.line, ImportReasonText(note).c_str());
    std::printf("%s\n", ImportCountsText(result).c_str());
    return 0;
}
}  // namespace

int RunImportCommand(int argc, char** argv) {
    if (argc < 4) return Complain(kUsage, 2);
    const std::string_view what = argv[2];
    const std::string path = argv[3];
    const bool apartments = what == "subscribers";
    if (!apartments && what != "devices" && what != "links")
        return Complain("unknown file kind '" + std::string(what) + "'; " + kUsage, 2);
    int bid = 0;
    for (int i = 4; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option != "--building")
            return Complain("unknown option '" + std::string(option) + "'", 2);
        if (!apartments) return Complain("--building is for the subscribers file only", 2);
        if (++i == argc || (bid = BuildingId(argv[i])) == 0)
            return Complain("--building needs a building id", 2);
    }
    if (apartments && bid == 0) return Complain("the subscribers file needs --building BID", 2);

    CProgramObjects program;
    if (const std::string why = DbController->Database.WhyNotWritable(); !why.empty())
        return Complain("local.db " + why, 1);
    CImporter importer(*DbController);
    if (what == "devices") return Report(importer.ImportMeters(path), path);
    if (what == "links") return Report(importer.ImportLinks(path), path);
    return Report(importer.ImportApartments(path, bid), path);
}
