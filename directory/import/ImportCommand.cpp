#include "directory/import/ImportCommand.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "app/ProgramObjects.h"
#include "app/toolkit/CommandLine.h"
#include "database/SQLite3Controller.h"
#include "directory/import/ImportLines.h"
#include "directory/import/Importer.h"

namespace {
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
        case ImportOutcome::NoRecords:
            return Complain(
                "no records found in " + path +
                    (result.notes.empty() ? ""
                                          : "; its first line reads as a record but is the header"),
                1);
        case ImportOutcome::Refused:
            return Complain(RefusalLine(result.refusal), 1);
        case ImportOutcome::DatabaseFailed:
            return Complain(
                "the database failed; nothing of " + path + " was stored: " + result.databaseReason,
                1);
        case ImportOutcome::Read:
            break;
    }
    for (const CImportNote& note : result.notes)
        std::printf("%s\n", ImportNoteText(note, ImportLanguage::English).c_str());
    if (result.notesLeftOut > 0)
        std::printf("%s\n",
                    ImportLeftOutText(result.notesLeftOut, ImportLanguage::English).c_str());
    std::printf("%s\n", ImportCountsText(result, ImportLanguage::English).c_str());
    return 0;
}
}  // namespace

const CCommandSyntax kImportCommand = {
    "import",
    "store the meters, links or apartments of a semicolon-separated file",
    {"devices|links FILE", "subscribers FILE --building BID"},
    "Stores what a semicolon-separated file holds in the working directory's local.db, as the "
    "screens' imports do: the whole file or nothing of it. The file may be UTF-8, UTF-16 with its "
    "byte-order mark, or Windows-1251, with quoted fields. Prints 'line N: reason' for each "
    "skipped line, each listed meter not found and each meter unbound (the first 1,000), then "
    "'S stored, U unbound, K skipped'.",
    {{"devices|links|subscribers",
      "what the file holds: meters, their links to apartments, or "
      "a building's apartments"},
     {"FILE", "the semicolon-separated file"}},
    {{"building", "BID", "the building whose apartments the subscribers file holds, by its id"}},
    {{0, "the file was read, whatever was skipped"},
     {1,
      "the file cannot be opened or read, holds no records, the building does not exist, "
      "local.db cannot be written or the tables the import writes are damaged, or the database "
      "fails (SQLite's reason is printed); nothing of the file is stored"},
     {2, "bad arguments, including --building with the meter or link file"}},
};

int RunImportCommand(int argc, char** argv) {
    CCommandLine line(kImportCommand);
    if (const auto status = line.Parse(argc, argv)) return *status;
    const std::string& what = line.Arguments()[0];
    const std::string& path = line.Arguments()[1];
    const bool apartments = what == "subscribers";
    if (!apartments && what != "devices" && what != "links")
        return line.Refuse("unknown file kind '" + what + "'");
    int bid = 0;
    if (line.IsSet("building")) {
        if (!apartments) return line.Refuse("--building is for the subscribers file only");
        if ((bid = BuildingId(line.Value("building"))) == 0)
            return line.Refuse("--building needs a building id");
    }
    if (apartments && bid == 0) return line.Refuse("the subscribers file needs --building BID");

    CProgramObjects program;
    CImporter importer(*DbController);
    if (what == "devices") return Report(importer.ImportMeters(path), path);
    if (what == "links") return Report(importer.ImportLinks(path), path);
    return Report(importer.ImportApartments(path, bid), path);
}
