#include "archive/ReportText.h"

#include <string_view>

#include "Utils/Format.h"
#include "archive/Sheet.h"

namespace {

bool IsMeterRow(const CArchiveGrid& grid, int row) {
    const ArchiveRow what = grid.rows[static_cast<std::size_t>(row)];
    return what == ArchiveRow::Readings || what == ArchiveRow::NoReadings;
}

// The header row and the meters' rows, each cell given to `cell` and each row ended by `end`.
template <class Cell, class End>
void ForEachTextRow(const CArchiveGrid& grid, Cell cell, End end) {
    for (int row = 0; row < grid.rowCount; ++row) {
        if (row > 0 && !IsMeterRow(grid, row)) continue;
        for (int col = 0; col < grid.colCount; ++col) cell(col, grid.Cell(col, row));
        end();
    }
}

std::string Separated(const CArchiveGrid& grid, char separator, const char* lineEnd,
                      std::string (*quoted)(const std::string&)) {
    std::string text;
    ForEachTextRow(
        grid,
        [&](int col, const std::string& cell) {
            if (col > 0) text += separator;
            text += quoted(cell);
        },
        [&] { text += lineEnd; });
    return text;
}

std::string AsIs(const std::string& cell) {
    return cell;
}

std::string CsvField(const std::string& cell) {
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            quoted += Format("\\u%04x", byte);
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

// A cell as JSON: the shown number itself for a number column (its mark aside), null for an
// empty cell, the no-readings text, or a value no JSON number can carry (an infinity).
std::string JsonValue(const CArchiveColumn& column, const std::string& cell) {
    if (cell.empty() || cell == kNoReadings) return "null";
    switch (column.value) {
        case ArchiveValue::Integer:
        case ArchiveValue::Decimal: {
            const std::string number =
                IsMarkedBackwards(cell)
                    ? cell.substr(0, cell.size() - std::string_view(kBackwardsMark).size())
                    : cell;
            return DecimalsOf(number) >= 0 ? number : "null";
        }
        case ArchiveValue::Text:
        case ArchiveValue::DateTime:
            break;
    }
    return JsonString(cell);
}

std::string Json(const CArchiveGrid& grid) {
    const auto columns = ArchiveColumns(grid.kind);
    std::string text = "[";
    for (int row = 1; row < grid.rowCount; ++row) {
        if (!IsMeterRow(grid, row)) continue;
        text += text.size() > 1 ? ",\n {" : "\n {";
        bool backwards = false;
        for (int col = 0; col < grid.colCount; ++col) {
            const CArchiveColumn& column = columns[static_cast<std::size_t>(col)];
            const std::string& cell = grid.Cell(col, row);
            if (col > 0) text += ", ";
            text += JsonString(column.key) + ": " + JsonValue(column, cell);
            backwards = backwards || IsMarkedBackwards(cell);
        }
        if (grid.HasConsumption())
            text += std::string(", \"counter_backwards\": ") + (backwards ? "true" : "false");
        text += "}";
    }
    return text + (text.size() > 1 ? "\n]\n" : "]\n");
}

}  // namespace

std::string ReportText(const CArchiveGrid& grid, ReportFormat format) {
    switch (format) {
        case ReportFormat::Csv:
            return Separated(grid, ',', "\r\n", CsvField);
        case ReportFormat::Json:
            return Json(grid);
        case ReportFormat::Tsv:
            break;
    }
    return Separated(grid, '\t', "\n", AsIs);
}
