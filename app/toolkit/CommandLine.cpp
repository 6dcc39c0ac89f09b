#include "app/toolkit/CommandLine.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t kLineWidth = 79;
constexpr std::size_t kWidestFirstColumn = 26;
constexpr const char* kHelpOption = "help";

// The shell's bytes go through Latin-1 both ways, so a file name reaches the command byte for
// byte whatever its encoding, as it did when commands read argv themselves.
QString FromShell(const char* text) {
    return QString::fromLatin1(text);
}

std::string ToShell(const QString& text) {
    return text.toLatin1().toStdString();
}

// Appends text from column `column` on, its words wrapped at kLineWidth onto lines indented by
// `indent`, and the line's end.
void AppendWrapped(std::string& out, std::string_view text, std::size_t column,
                   std::size_t indent) {
    bool first = true;
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        const std::string_view word = text.substr(0, blank);
        text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
        if (word.empty()) continue;
        if (!first && column + 1 + word.size() > kLineWidth) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
        } else if (!first) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        first = false;
    }
    out += '\n';
}

std::string OptionColumn(const CCommandOption& option) {
    std::string text = std::string("--") + option.name;
    if (option.valueName != nullptr) text += std::string(" ") + option.valueName;
    return text;
}

}  // namespace

CCommandLine::CCommandLine(const CCommandSyntax& syntax) : syntax_(syntax) {
    for (const CCommandOption& option : syntax.options) {
        QCommandLineOption qtOption(FromShell(option.name));
        if (option.valueName != nullptr) qtOption.setValueName(FromShell(option.valueName));
        parser_.addOption(qtOption);
    }
    parser_.addOption(QCommandLineOption(QStringList{"h", kHelpOption}));
}

std::optional<int> CCommandLine::Parse(int argc, char** argv) {
    QStringList words;
    for (int i = 1; i < argc; ++i) words << FromShell(argv[i]);
    if (!parser_.parse(words)) return Refuse(ToShell(parser_.errorText()));
    if (parser_.isSet(kHelpOption)) {
        std::fputs(CommandHelp(syntax_).c_str(), stdout);
        return 0;
    }
    for (const QString& word : parser_.positionalArguments()) arguments_.push_back(ToShell(word));
    if (arguments_.size() > syntax_.arguments.size())
        return Refuse("unexpected argument '" + arguments_[syntax_.arguments.size()] + "'");
    for (std::size_t i = arguments_.size(); i < syntax_.arguments.size(); ++i) {
        if (!syntax_.arguments[i].optional)
            return Refuse(std::string("missing ") + syntax_.arguments[i].name);
    }
    return std::nullopt;
}

bool CCommandLine::IsSet(const char* option) const {
    return parser_.isSet(FromShell(option));
}

std::string CCommandLine::Value(const char* option) const {
    return ToShell(parser_.value(FromShell(option)));
}

int CCommandLine::Refuse(std::string_view complaint) const {
    std::fprintf(stderr, "vevo %s: %.*s\nTry 'vevo %s --help'.\n", syntax_.word,
                 static_cast<int>(complaint.size()), complaint.data(), syntax_.word);
    return 2;
}

std::string CommandHelp(const CCommandSyntax& syntax) {
    std::string help;
    const char* lead = "Usage: ";
    for (const char* form : syntax.usage) {
        help += lead + std::string("vevo ") + syntax.word;
        if (*form != '\0') help += std::string(" ") + form;
        help += '\n';
        lead = "   or: ";
    }
    help += '\n' + HelpParagraph(syntax.description);

    if (!syntax.arguments.empty()) {
        std::vector<std::pair<std::string, std::string>> rows;
        for (const CCommandArgument& argument : syntax.arguments)
            rows.emplace_back(argument.name, argument.description);
        help += "\nArguments:\n" + HelpColumns(rows);
    }
    std::vector<std::pair<std::string, std::string>> rows;
    for (const CCommandOption& option : syntax.options)
        rows.emplace_back(OptionColumn(option), option.description);
    rows.emplace_back("-h, --help", "print this help and exit");
    help += "\nOptions:\n" + HelpColumns(rows);

    rows.clear();
    for (const CCommandExit& exit : syntax.exits)
        rows.emplace_back(std::to_string(exit.status), exit.when);
    help += "\nExit status:\n" + HelpColumns(rows);
    return help;
}

std::string HelpColumns(const std::vector<std::pair<std::string, std::string>>& rows) {
    std::size_t width = 0;
    for (const auto& row : rows) {
        if (row.first.size() <= kWidestFirstColumn) width = std::max(width, row.first.size());
    }
    const std::size_t column = 2 + width + 2;
    std::string text;
    for (const auto& [first, second] : rows) {
        text += "  " + first;
        if (first.size() > width) {
            text += '\n';
            text.append(column, ' ');
        } else {
            text.append(column - 2 - first.size(), ' ');
        }
        AppendWrapped(text, second, column, column);
    }
    return text;
}

std::string HelpParagraph(std::string_view text) {
    std::string paragraph;
    AppendWrapped(paragraph, text, 0, 0);
    return paragraph;
}
