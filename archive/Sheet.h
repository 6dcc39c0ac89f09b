#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One worksheet held in memory until it is written: cell values with their look, merged
// ranges and column widths. Rows and columns count from 0 (A1 is 0, 0).
enum class SheetValue { Empty, Number, DateTime, Text };

struct CSheetCell {
    SheetValue kind = SheetValue::Empty;
    std::string text;  // UTF-8; for a date-time the text it was read from
    double number = 0;
    std::string numberFormat;
    bool bold = false;
    int fontSize = 0;  // 0: the workbook's default
    bool border = false;
    int horizontalAlignment = 0;  // the spreadsheet's constants: -4108 centre, -4131 left
    int verticalAlignment = 0;
    bool wrap = false;
};

struct CSheetRange {
    int firstRow, firstCol, lastRow, lastCol;
    bool Holds(int row, int col) const {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol;
    }
};

class CSheet {
public:
    // The cell that shows at (row, col): inside a merged range that is the range's first cell,
    // so formatting any cell of a merge formats what is seen.
    CSheetCell& At(int row, int col);
    void Merge(const CSheetRange& range) { merges_.push_back(range); }
    void SetColumnWidth(int col, double width) { widths_[col] = width; }
    // The longest text, in characters, of the column's cells outside merged ranges.
    int LongestText(int col) const;

    const std::map<std::pair<int, int>, CSheetCell>& Cells() const { return cells_; }
    const std::vector<CSheetRange>& Merges() const { return merges_; }
    const std::map<int, double>& ColumnWidths() const { return widths_; }

private:
    const CSheetRange* MergeHolding(int row, int col) const;

    std::map<std::pair<int, int>, CSheetCell> cells_;
    std::vector<CSheetRange> merges_;
    std::map<int, double> widths_;
};

// What a text written as a value becomes: a plain decimal number (optional sign, digits,
// optional point and digits) a number, a reading's date-time ("yyyy-mm-dd hh:mm", seconds
// optional) a date-time, anything else text.
void SetValue(CSheetCell& cell, std::string_view text);
void SetText(CSheetCell& cell, std::string_view text);
