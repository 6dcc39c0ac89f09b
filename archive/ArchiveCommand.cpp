#include "archive/ArchiveCommand.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/ProgramObjects.h"
#include "archive/ArchiveReport.h"
#include "archive/Excel.h"
#include "archive/ExportSheet.h"

namespace {

struct CArchiveArguments {
    std::optional<ArchiveKind> kind;
    int bid = 0;
    std::string firstDay;
    std::string lastDay;
    std::string output;
};

std::optional<ArchiveKind> KindNamed(std::string_view name) {
    if (name == "heat") return ArchiveKind::Heat;
    if (name == "water_cold") return ArchiveKind::WaterCold;
    if (name == "water_hot") return ArchiveKind::WaterHot;
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
std::string Parse(int argc, char** argv, bool withOutput, CArchiveArguments& arguments) {
    for (int i = 2; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) return "missing value for " + std::string(option);
        const std::string_view value = argv[++i];
        if (option == "--kind") {
            arguments.kind = KindNamed(value);
            if (!arguments.kind) return "--kind takes heat, water_cold or water_hot";
        } else if (option == "--building") {
            const auto bid = ParseBid(value);
            if (!bid) return "--building takes a building id, a positive number";
            arguments.bid = *bid;
        } else if (option == "--from" || option == "--to") {
            if (!IsDay(value)) return std::string(option) + " takes a day as YYYY-MM-DD";
            (option == "--from" ? arguments.firstDay : arguments.lastDay) = value;
        } else if (withOutput && option == "--output") {
            if (value.empty()) return "--output takes a file name";
            arguments.output = value;
        } else {
            return "unknown option " + std::string(option);
        }
    }
    if (!arguments.kind) return "--kind is required";
    if (arguments.bid == 0) return "--building is required";
    if (arguments.firstDay.empty()) return "--from is required";
    if (arguments.lastDay.empty()) return "--to is required";
    if (withOutput && arguments.output.empty()) return "--output is required";
    return {};
}

// The building's label, or the one-line reason there is none.
std::optional<std::string> FindBuilding(int bid, std::string& why) {
    const auto building = DbController->ObjectModel.GetObjectById(bid);
    if (building == nullptr) {
        why = "local.db cannot be read";
        return std::nullopt;
    }
    if (building->bid == 0) {
        why = "there is no building " + std::to_string(bid);
        return std::nullopt;
    }
    return BuildingLabel(*building);
}

void PrintGrid(const CArchiveGrid& grid) {
    for (int row = 0; row < grid.rowCount; ++row) {
        std::string line;
        for (int col = 0; col < grid.colCount; ++col) {
            if (col > 0) line += '\t';
            line += grid.Cell(col, row);
        }
        std::printf("%s\n", line.c_str());
    }
}

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n') c = ' ';
    }
    return text;
}

int Run(const char* word, int argc, char** argv, bool exporting) {
    CArchiveArguments arguments;
    if (const std::string complaint = Parse(argc, argv, exporting, arguments); !complaint.empty()) {
        std::fprintf(stderr, "vevo %s: %s\n", word, complaint.c_str());
        return 2;
    }
    CProgramObjects program;
    std::string why;
    const auto label = FindBuilding(arguments.bid, why);
    if (!label) {
        std::fprintf(stderr, "vevo %s: %s\n", word, why.c_str());
        return 1;
    }
    const CArchiveGrid grid = ArchiveReport(*DbController, *arguments.kind, arguments.bid,
                                            arguments.firstDay, arguments.lastDay);
    if (!exporting) {
        PrintGrid(grid);
        return 0;
    }
    const std::filesystem::path output(arguments.output);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(output, error))) {
        std::fprintf(stderr, "vevo export: %s exists\n", arguments.output.c_str());
        return 1;
    }
    CExportPlace place;
    place.folder = output.has_parent_path() ? output.parent_path().string() : ".";
    place.fileName = output.filename().string();
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

}  // namespace

int RunArchiveCommand(int argc, char** argv) {
    return Run("archive", argc, argv, false);
}

int RunExportCommand(int argc, char** argv) {
    return Run("export", argc, argv, true);
}
