#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// One worksheet held in memory until it is written: cell values with their look, merged
// ranges, fitted columns and rows, and how it prints. Rows and columns count from 0 (A1 is 0, 0).
enum class SheetValue { Empty, Number, DateTime, Text };

struct CSheetCell {
    bool used = false;  // written or formatted; a cell never touched is not in the file
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

// How the sheet prints: landscape, fitted to one page wide (as many tall as it takes), with
// one row repeated atop every page.
struct CPrintLayout {
    bool set = false;
    int titleRow = 0;
};

class CSheet {
public:
    // The cell that shows at (row, col): inside a merged range that is the range's first cell,
    // so formatting any cell of a merge formats what is seen.
    CSheetCell& At(int row, int col);
    // The cell at (row, col) when it was used; null otherwise.
    const CSheetCell* Find(int row, int col) const;
    // Calls `each(row, col, cell)` for every used cell, row by row, left to right.
    template <class Each>
    void ForEachCell(Each each) const {
        for (std::size_t row = 0; row < rows_.size(); ++row) {
            for (std::size_t col = 0; col < rows_[row].size(); ++col) {
                if (rows_[row][col].used)
                    each(static_cast<int>(row), static_cast<int>(col), rows_[row][col]);
            }
        }
    }

    void Merge(const CSheetRange& range) { merges_.push_back(range); }
    const std::vector<CSheetRange>& Merges() const { return merges_; }

    // The column is as wide as its longest text outside merged ranges, measured when the sheet
    // is written; the row as tall as its wrapped texts need in their columns' widths.
    void FitColumn(int col) { fittedColumns_.insert(col); }
    void FitRow(int row) { fittedRows_.insert(row); }
    // Widths in characters of the fitted columns; heights in points of the fitted rows, in
    // columns of those widths.
    std::map<int, double> ColumnWidths() const;
    std::map<int, double> RowHeights(const std::map<int, double>& widths) const;

    void SetPrintLayout(int titleRow) { print_ = {true, titleRow}; }
    const CPrintLayout& PrintLayout() const { return print_; }

private:
    const CSheetRange* MergeHolding(int row, int col) const;
    // The width in characters of a column, fitted or the spreadsheet's default.
    double WidthOf(int col, const std::map<int, double>& widths) const;

    std::vector<std::vector<CSheetCell>> rows_;
    std::vector<CSheetRange> merges_;
    std::set<int> fittedColumns_;
    std::set<int> fittedRows_;
    CPrintLayout print_;
};

// What a text written as a value becomes: a plain decimal number (optional sign, digits,
// optional point and digits) a number, a reading's date-time ("yyyy-mm-dd hh:mm", seconds
// optional) a date-time, anything else text.
void SetValue(CSheetCell& cell, std::string_view text);
void SetText(CSheetCell& cell, std::string_view text);
// The digits after the point of a plain decimal text; -1 for any other text.
int DecimalsOf(std::string_view text);
