#include "app/Commands.h"

#include <cstdio>
#include <string_view>

#include "archive/ArchiveCommand.h"
#include "directory/import/ImportCommand.h"
#include "polling/PollCommand.h"
#include "update/UpdateCommand.h"

namespace {
struct CCommand {
    std::string_view word;
    const char* summary;
    int (*run)(int argc, char** argv);
};

constexpr CCommand kCommands[] = {
    {"poll", "read the stored meters of one kind, or one meter by its number", RunPollCommand},
    {"import", "store the meters, links or apartments of a semicolon-separated file",
     RunImportCommand},
    {"archive", "print a building's archive report of one kind for a range of days",
     RunArchiveCommand},
    {"export", "write a building's archive report of one kind to a spreadsheet file",
     RunExportCommand},
    {"update", "check for a new version (--check), or install it without questions (--yes)",
     RunUpdateCommand},
};

int ListCommands(std::string_view unknown) {
    std::fprintf(stderr, "vevo: '%.*s' is not a command. Commands:\n",
                 static_cast<int>(unknown.size()), unknown.data());
    for (const CCommand& command : kCommands) {
        std::fprintf(stderr, "  %-8.*s %s\n", static_cast<int>(command.word.size()),
                     command.word.data(), command.summary);
    }
    std::fputs("Without arguments vevo starts its window.\n", stderr);
    return 2;
}
}  // namespace

std::optional<int> RunCommand(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') return std::nullopt;
    const std::string_view word = argv[1];
    for (const CCommand& command : kCommands) {
        if (command.word == word) return command.run(argc, argv);
    }
    return ListCommands(word);
}
