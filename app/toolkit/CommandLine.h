#pragma once

#include <QCommandLineParser>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One option of a command: --NAME, followed by a value when it has a value name. A value name
// with '|' lists the values the option takes ("heat|water"); shell completion offers them, and
// one ending in FILE, PATH or FOLDER gets file names.
struct CCommandOption {
    const char* name;         // without the dashes
    const char* valueName;    // nullptr for a switch
    const char* description;  // what it does, its default and its range
};

// A word of a command that is not an option, as `vevo import` takes its file.
struct CCommandArgument {
    const char* name;
    const char* description;
    bool optional = false;
};

struct CCommandExit {
    int status;
    const char* when;
};

// Everything `vevo WORD --help` says about a command, and all its parser takes. Declaring an
// option is one line in `options`; the command then reads it with IsSet or Value.
struct CCommandSyntax {
    const char* word;
    const char* summary;             // one line for `vevo --help`
    std::vector<const char*> usage;  // the forms of the command line after "vevo WORD"
    const char* description;         // a paragraph under the usage
    std::vector<CCommandArgument> arguments;
    std::vector<CCommandOption> options;
    std::vector<CCommandExit> exits;
};

// The words of one command read by Qt's parser over its syntax, with the help and the
// complaints every command shares. Nothing but standard output and standard error is touched,
// so a command can refuse its arguments before it opens local.db.
class CCommandLine {
public:
    explicit CCommandLine(const CCommandSyntax& syntax);

    // Reads argv[2] on (argv[1] is the command's word). Empty when the command is to run;
    // else its exit status: 0 once --help has printed the help, 2 once the words were refused.
    std::optional<int> Parse(int argc, char** argv);

    bool IsSet(const char* option) const;
    // The option's value byte for byte as the shell gave it; empty when it is not set.
    std::string Value(const char* option) const;
    // The words that are not options, in order: at least the required ones, at most all.
    const std::vector<std::string>& Arguments() const { return arguments_; }

    // Prints "vevo WORD: COMPLAINT" and the pointer to the help on standard error; returns 2,
    // the exit status of bad arguments.
    int Refuse(std::string_view complaint) const;

private:
    const CCommandSyntax& syntax_;
    QCommandLineParser parser_;
    std::vector<std::string> arguments_;
};

// The text `vevo WORD --help` prints.
std::string CommandHelp(const CCommandSyntax& syntax);

// Rows of two columns as help texts show them: two spaces in, the second column aligned and
// wrapped to the terminal's customary 80 columns.
std::string HelpColumns(const std::vector<std::pair<std::string, std::string>>& rows);

// A paragraph wrapped to 80 columns.
std::string HelpParagraph(std::string_view text);
