#include "archive/ArchiveCommand.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "Utils/FilePath.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/CommandLine.h"
#include "archive/ArchiveReport.h"
#include "archive/Excel.h"
#include "archive/ExportSheet.h"
#include "archive/ReportText.h"

namespace {

struct CArchiveArguments {
    std::optional<ArchiveKind> kind;
    CArchiveRequest report;  // its kind once checked
    ReportFormat format = ReportFormat::Tsv;
    std::string output;
};

std::optional<ArchiveKind> KindNamed(std::string_view name) {
    if (name == "heat") return ArchiveKind::Heat;
    if (name == "water_cold") return ArchiveKind::WaterCold;
    if (name == "water_hot") return ArchiveKind::WaterHot;
    return std::nullopt;
}

std::optional<ReportFormat> FormatNamed(std::string_view name) {
    if (name == "tsv") return ReportFormat::Tsv;
    if (name == "csv") return ReportFormat::Csv;
    if (name == "json") return ReportFormat::Json;
    return std::nullopt;
}

std::optional<int> ParseBid(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value == 0) return std::nullopt;
    return value;
}

// A calendar day written "yyyy-mm-dd".
bool IsDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    int parts[3] = {};
    int part = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 4 || i == 7) {
            ++part;
            continue;
        }
        if (text[i] < '0' || text[i] > '9') return false;
        parts[part] = parts[part] * 10 + (text[i] - '0');
    }
    const int year = parts[0], month = parts[1], day = parts[2];
    constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return !(month == 2 && day == 29 && !leap);
}

// Empty when the arguments are sound, else the one-line complaint.
std::string Check(const CCommandLine& line, bool withOutput, CArchiveArguments& arguments) {
    CArchiveRequest& report = arguments.report;
    if (line.IsSet("kind")) {
        arguments.kind = KindNamed(line.Value("kind"));
        if (!arguments.kind) return "--kind takes heat, water_cold or water_hot";
    }
    if (line.IsSet("building")) {
        const auto bid = ParseBid(line.Value("building"));
        if (!bid) return "--building takes a building id, a positive number";
        report.bid = *bid;
    }
    for (const auto& [option, day] :
         {std::pair{"from", &report.firstDay}, std::pair{"to", &report.lastDay}}) {
        if (!line.IsSet(option)) continue;
        *day = line.Value(option);
        if (!IsDay(*day)) return "--" + std::string(option) + " takes a day as YYYY-MM-DD";
    }
    if (withOutput && line.IsSet("output")) {
        arguments.output = line.Value("output");
        if (arguments.output.empty()) return "--output takes a file name";
    }
    if (!withOutput && line.IsSet("format")) {
        const auto format = FormatNamed(line.Value("format"));
        if (!format) return "--format takes tsv, csv or json";
        arguments.format = *format;
    }
    report.consumption = line.IsSet("consumption");
    report.withoutReadings = line.IsSet("meters-without-readings");
    if (!arguments.kind) return "--kind is required";
    report.kind = *arguments.kind;
    if (report.bid == 0) return "--building is required";
    if (report.firstDay.empty()) return "--from is required";
    if (report.lastDay.empty()) return "--to is required";
    if (withOutput && arguments.output.empty()) return "--output is required";
    return {};
}

// The building's label, or the one-line reason there is none.
std::optional<std::string> FindBuilding(int bid, std::string& why) {
    CReadFailure failure;
    const auto building = DbController->ObjectModel.GetObjectById(bid, &failure);
    if (building == nullptr) {
        why = CannotReadLine(failure);
        return std::nullopt;
    }
    if (building->bid == 0) {
        why = "there is no building " + std::to_string(bid);
        return std::nullopt;
    }
    return BuildingLabel(*building);
}

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n') c = ' ';
    }
    return text;
}

int Run(const CCommandSyntax& syntax, int argc, char** argv, bool exporting) {
    CCommandLine line(syntax);
    if (const auto status = line.Parse(argc, argv)) return *status;
    CArchiveArguments arguments;
    if (const std::string complaint = Check(line, exporting, arguments); !complaint.empty())
        return line.Refuse(complaint);
    CProgramObjects program;
    std::string why;
    const auto label = FindBuilding(arguments.report.bid, why);
    if (!label) {
        std::fprintf(stderr, "vevo %s: %s\n", syntax.word, why.c_str());
        return 1;
    }
    const CArchiveReport report = ArchiveReport(*DbController, arguments.report);
    if (report.failure) {
        std::fprintf(stderr, "vevo %s: %s\n", syntax.word, CannotReadLine(*report.failure).c_str());
        return 1;
    }
    const CArchiveGrid& grid = report.grid;
    if (!exporting) {
        std::fputs(ReportText(grid, arguments.format).c_str(), stdout);
        return 0;
    }
    const std::filesystem::path output = PathOfUtf8(arguments.output);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(output, error))) {
        std::fprintf(stderr, "vevo export: %s exists\n", arguments.output.c_str());
        return 1;
    }
    CExportPlace place;
    place.folder = output.has_parent_path() ? Utf8OfPath(output.parent_path()) : ".";
    place.fileName = Utf8OfPath(output.filename());
    place.numberIfTaken = false;
    place.opener.clear();
    std::string message;
    CExcel excel(place, [&message](const std::string& text, ExcelMessageKind) {
        if (message.empty()) message = OneLine(text);
    });
    switch (ExportGrid(grid, *label, excel)) {
        case ExportResult::Shown:
            return 0;
        case ExportResult::NotOpened:
            std::fprintf(stderr, "vevo export: %s cannot be written: %s\n",
                         arguments.output.c_str(), message.c_str());
            return 1;
        case ExportResult::WriteFailed:
        case ExportResult::NotShown:
            break;
    }
    std::fprintf(stderr, "vevo export: %s\n", message.c_str());
    return 1;
}

constexpr CCommandOption kKind = {"kind", "heat|water_cold|water_hot",
                                  "the report's kind of meter"};
constexpr CCommandOption kBuilding = {"building", "BID", "the building, by its id"};
constexpr CCommandOption kFrom = {"from", "YYYY-MM-DD",
                                  "the first day of the range, counted whole"};
constexpr CCommandOption kTo = {"to", "YYYY-MM-DD", "the last day of the range, counted whole"};
constexpr CCommandOption kConsumption = {
    "consumption", nullptr,
    "adds the consumption columns: the first reading in the range, and the counter at the latest "
    "reading less that at the first (marked \" !\" when the counter went backwards)"};
constexpr CCommandOption kWithoutReadings = {
    "meters-without-readings", nullptr,
    "lists the building's meters with no reading in the range after the others"};
constexpr const char* kDone = "done";
constexpr const char* kUnread =
    "the building does not exist, or local.db cannot be read (SQLite's reason is printed)";
constexpr const char* kBadArguments = "bad arguments";

}  // namespace

const CCommandSyntax kArchiveCommand = {
    "archive",
    "print a building's archive report of one kind for a range of days",
    {"--kind heat|water_cold|water_hot --building BID --from YYYY-MM-DD --to YYYY-MM-DD "
     "[--format tsv|csv|json] [--consumption] [--meters-without-readings]"},
    "Prints the grid the archive screen shows, from the working directory's local.db, in UTF-8: "
    "the title row, then one line per meter bound to an apartment of the building with readings "
    "in the range, cells joined by tabs. A first day after the last prints the title row alone. "
    "CSV follows RFC 4180, with the title row as its header; JSON is an array with one object "
    "per meter, numbers as numbers and empty cells as null. The screen's totals row is left to "
    "the script.",
    {},
    {kKind,
     kBuilding,
     kFrom,
     kTo,
     {"format", "tsv|csv|json", "how the report is printed (default tsv)"},
     kConsumption,
     kWithoutReadings},
    {{0, kDone}, {1, kUnread}, {2, kBadArguments}},
};

const CCommandSyntax kExportCommand = {
    "export",
    "write a building's archive report of one kind to a spreadsheet file",
    {"--kind heat|water_cold|water_hot --building BID --from YYYY-MM-DD --to YYYY-MM-DD "
     "--output FILE.xlsx [--consumption] [--meters-without-readings]"},
    "Writes the sheet the archive screen's export writes, with the building as \"street "
    "house\", to FILE.xlsx, and opens nothing. With --consumption it is the sheet of the "
    "screen's second export, with the consumption columns and their totals.",
    {},
    {kKind,
     kBuilding,
     kFrom,
     kTo,
     {"output", "FILE.xlsx", "the spreadsheet to write; an existing file is refused"},
     kConsumption,
     kWithoutReadings},
    {{0, kDone},
     {1,
      "the building does not exist, local.db cannot be read, or the file exists or cannot be "
      "written"},
     {2, kBadArguments}},
};

int RunArchiveCommand(int argc, char** argv) {
    return Run(kArchiveCommand, argc, argv, false);
}

int RunExportCommand(int argc, char** argv) {
    return Run(kExportCommand, argc, argv, true);
}
