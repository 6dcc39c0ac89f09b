#pragma once

#include <string>
#include <vector>

// The archive report kinds, in the order of the screen's tabs.
enum class ArchiveKind { Heat = 0, WaterCold = 1, WaterHot = 2 };

// A grid's contents as plain data: what the archive screen shows, what the command prints and
// what the export writes. The export works on such a copy, taken on the user-interface thread
// at the click, so a grid refilled meanwhile is never read half-way. Texts are UTF-8.
struct CArchiveGrid {
    std::string name;  // the grid's component name, which picks the report's title
    int colCount = 0;
    int rowCount = 0;
    std::vector<std::string> cells;  // row by row, colCount a row

    const std::string& Cell(int col, int row) const {
        return cells[static_cast<std::size_t>(row * colCount + col)];
    }
    // Appends an empty row and returns its index.
    int AddRow();
    void SetCell(int col, int row, std::string text) {
        cells[static_cast<std::size_t>(row * colCount + col)] = std::move(text);
    }
};

// The grid of a kind with its title row alone, named as the screen's grid is.
CArchiveGrid TitleGrid(ArchiveKind kind);
// The sheet title of a grid name; empty for a name that is no archive grid.
std::string ReportTitle(const std::string& gridName);
