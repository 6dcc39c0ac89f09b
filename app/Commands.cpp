#include "app/Commands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/ProgramInfo.h"
#include "archive/ArchiveCommand.h"
#include "directory/import/ImportCommand.h"
#include "polling/PollCommand.h"
#include "update/UpdateCommand.h"

namespace {

int RunHelpCommand(int argc, char** argv);
int RunVersionCommand(int argc, char** argv);

const CCommandSyntax kHelpCommand = {
    "help",
    "list the commands, or print one command's options and exit statuses",
    {"[COMMAND]"},
    "Without a command, lists the commands as 'vevo --help' does; with one, prints its help as "
    "'vevo COMMAND --help' does.",
    {{"COMMAND", "the command to describe", true}},
    {},
    {{0, "the help was printed"}, {2, "COMMAND is not a command"}},
};

const CCommandSyntax kVersionCommand = {
    "version",
    "print the program's name and version",
    {""},
    "Prints the program's name and version as the window's caption shows them, as 'vevo "
    "--version' also does.",
    {},
    {},
    {{0, "always"}},
};

const CCommand kCommands[] = {
    {kPollCommand, RunPollCommand},       {kImportCommand, RunImportCommand},
    {kArchiveCommand, RunArchiveCommand}, {kExportCommand, RunExportCommand},
    {kUpdateCommand, RunUpdateCommand},   {kHelpCommand, RunHelpCommand},
    {kVersionCommand, RunVersionCommand},
};

const CCommand* CommandNamed(std::string_view word) {
    for (const CCommand& command : kCommands) {
        if (command.syntax.word == word) return &command;
    }
    return nullptr;
}

// The edits that turn one word into the other, case aside: insertions, deletions,
// substitutions and swaps of neighbours, the slips of a typing hand.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    const auto same = [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    };
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
            if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// The command a mistyped word most likely meant: within two edits, and fewer edits than the
// word has letters, so a stray word suggests nothing.
const char* NearestCommand(std::string_view word) {
    const char* nearest = nullptr;
    std::size_t best = std::min<std::size_t>(3, word.size());
    for (const CCommand& command : kCommands) {
        const std::size_t distance = EditDistance(word, command.syntax.word);
        if (distance < best) {
            best = distance;
            nearest = command.syntax.word;
        }
    }
    return nearest;
}

int RefuseUnknownCommand(std::string_view word) {
    std::fprintf(stderr, "vevo: '%.*s' is not a command", static_cast<int>(word.size()),
                 word.data());
    if (const char* nearest = NearestCommand(word))
        std::fprintf(stderr, "; did you mean '%s'?", nearest);
    std::fputs("\nTry 'vevo --help'.\n", stderr);
    return 2;
}

int PrintProgramHelp() {
    std::string help =
        "Usage: vevo [COMMAND [ARGUMENT]...]\n\n" +
        HelpParagraph(
            "Vevo keeps a directory of buildings, apartments and heat and water meters, reads "
            "the meters through a LoRa radio modem, and reports and exports their readings. "
            "Without a command it starts its window. A command does a screen's work without a "
            "window or a display, in the working directory's local.db, config.ini and "
            "console.log.");
    std::vector<std::pair<std::string, std::string>> rows;
    for (const CCommand& command : kCommands)
        rows.emplace_back(command.syntax.word, command.syntax.summary);
    help += "\nCommands:\n" + HelpColumns(rows);
    help += "\nOptions:\n" + HelpColumns({{"-h, --help", "print this help and exit"},
                                          {"--version", "print the version and exit"}});
    help += "\nRun 'vevo COMMAND --help' for a command's options and exit statuses.\n";
    std::fputs(help.c_str(), stdout);
    return 0;
}

int PrintVersion() {
    std::printf("%s %s\n", kProgramName, CProgramInfo().GetVersion());
    return 0;
}

int RunHelpCommand(int argc, char** argv) {
    CCommandLine line(kHelpCommand);
    if (const auto status = line.Parse(argc, argv)) return *status;
    if (line.Arguments().empty()) return PrintProgramHelp();
    const std::string& word = line.Arguments()[0];
    const CCommand* command = CommandNamed(word);
    if (command == nullptr) return RefuseUnknownCommand(word);
    std::string words[] = {"vevo", word, "--help"};
    char* argvOfHelp[] = {words[0].data(), words[1].data(), words[2].data(), nullptr};
    return command->run(3, argvOfHelp);
}

int RunVersionCommand(int argc, char** argv) {
    CCommandLine line(kVersionCommand);
    if (const auto status = line.Parse(argc, argv)) return *status;
    return PrintVersion();
}

}  // namespace

std::optional<int> RunCommand(int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    const std::string_view word = argv[1];
    if (word == "--help" || word == "-h") return PrintProgramHelp();
    if (word == "--version") return PrintVersion();
    if (word.starts_with('-')) return std::nullopt;
    if (const CCommand* command = CommandNamed(word)) return command->run(argc, argv);
    return RefuseUnknownCommand(word);
}

std::span<const CCommand> CommandTable() {
    return kCommands;
}
