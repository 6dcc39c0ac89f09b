#pragma once

#include <span>
#include <string>
#include <vector>

// The archive report kinds, in the order of the screen's tabs.
enum class ArchiveKind { Heat = 0, WaterCold = 1, WaterHot = 2 };

// What a column's cells hold, for the sort, the sheet and the machine-readable outputs.
enum class ArchiveValue { Integer, Text, DateTime, Decimal };

struct CArchiveColumn {
    const char* title;
    const char* key;  // the column's name in JSON
    ArchiveValue value;
    int decimals;  // shown after the point, for a Decimal
    bool summed;   // a consumption, summed by the totals row
};

// What a row of a grid is: the titles, a meter with readings in the range, a meter without
// any, or the totals of the consumption columns. They come in this order.
enum class ArchiveRow { Titles, Readings, NoReadings, Totals };

// A grid's contents as plain data: what the archive screen shows, what the command prints and
// what the export writes. The export works on such a copy, taken on the user-interface thread
// at the click, so a grid refilled meanwhile is never read half-way. Texts are UTF-8.
struct CArchiveGrid {
    std::string name;  // the grid's component name, which picks the report's title
    ArchiveKind kind = ArchiveKind::Heat;
    int colCount = 0;
    int rowCount = 0;
    std::vector<std::string> cells;  // row by row, colCount a row
    std::vector<ArchiveRow> rows;    // what each row is

    const std::string& Cell(int col, int row) const {
        return cells[static_cast<std::size_t>(row * colCount + col)];
    }
    // Appends an empty row and returns its index.
    int AddRow(ArchiveRow what = ArchiveRow::Readings);
    void SetCell(int col, int row, std::string text) {
        cells[static_cast<std::size_t>(row * colCount + col)] = std::move(text);
    }
    // Whether the grid carries the consumption columns after the report's own.
    bool HasConsumption() const;
};

// Every column a kind's report can show: the report's own (the latest date and the largest
// values), then the consumption columns (the earliest reading, and what was consumed since).
std::span<const CArchiveColumn> ArchiveColumns(ArchiveKind kind);
// How many of them are the report's own.
int ReportColumnCount(ArchiveKind kind);

// The grid of a kind with its title row alone, named as the screen's grid is.
CArchiveGrid TitleGrid(ArchiveKind kind, bool consumption = false);
// The grid as the report's own layout has it: no consumption columns, no totals row.
CArchiveGrid WithoutConsumption(const CArchiveGrid& grid);
// The sheet title of a grid name; empty for a name that is no archive grid.
std::string ReportTitle(const std::string& gridName);

// A consumption whose counter went backwards is shown with this after the difference, and
// is left out of the totals.
inline constexpr const char* kBackwardsMark = " !";
bool IsMarkedBackwards(const std::string& cell);
// The shown text of the meters without readings, in their date column.
inline constexpr const char* kNoReadings = "немає показань";
// The totals row's caption, in the first column.
inline constexpr const char* kTotals = "Разом";

// Sorts the meters' rows by one column, ascending or descending, keeping the title row first,
// the meters without readings after those with readings, and the totals row last. Numbers sort
// as numbers, apartment numbers by their leading number first; empty cells come last.
void SortArchiveGrid(CArchiveGrid& grid, int col, bool descending);
