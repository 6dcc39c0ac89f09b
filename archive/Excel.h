#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "archive/ExportPlace.h"
#include "archive/Sheet.h"

// How the wrapper's failures are shown: Error with the error icon, task-modal; Plain with only
// an OK button and no icon; Unshown as Plain, for a file written that no program showed, with
// a way to its folder. All have the caption "Ошибка".
enum class ExcelMessageKind { Error, Plain, Unshown };
using ExcelMessageHandler = std::function<void(const std::string& text, ExcelMessageKind kind)>;

// The spreadsheet a report is written into: the cell operations fill one sheet in memory, and
// Show writes it as an .xlsx file in its place and opens that in the desktop's spreadsheet
// program. Rows count from 1; columns are indexes from 0 (A) to 25 (Z). Each operation returns
// false on a failure it has reported through the handler. Texts are UTF-8.
class CExcel {
public:
    static constexpr int kLineContinuous = 1;
    static constexpr int kAlignCentre = -4108;
    static constexpr int kAlignLeft = -4131;

    CExcel(CExportPlace place, ExcelMessageHandler messages);

    // Makes the folder when it is missing; fails when it cannot be made or written.
    bool Open();
    bool CreateWorkbook();
    bool ActivateSheet(int number);

    // Commas become periods first; see SetValue for what the text is stored as. Format codes
    // 0 to 3 give "0", "0.0", "0.00", "0.000"; any other keeps the cell's format.
    bool WriteCell(int row, int col, std::string_view text, int formatCode);
    // Stored as text, carriage returns and line feeds removed.
    bool WriteText(int row, int col, std::string_view text);
    // `column` counts from 1 (A); carriage returns and line feeds removed, stored as a value.
    bool SetCellsValue(int row, int column, std::string_view text);
    bool MergeRange(int row1, int col1, int row2, int col2);
    // The style selector is kept for its callers and has no effect.
    bool SetBold(int row, int col, int style, bool on);
    bool SetBorder(int row, int col, int lineStyle);
    bool SetFontSize(int row, int col, int size);
    // The column's width from the longest text written into it outside merged cells.
    bool AutoFitColumn(int row, int col);
    // The row's height from what its wrapped texts need in their columns' widths.
    bool AutoFitRow(int row);
    // Landscape, fitted to one page wide, with `titleRow` repeated atop every page.
    bool SetPrintLayout(int titleRow);
    bool SetHorizontalAlignment(int row, int col, int alignment);
    bool SetVerticalAlignment(int row, int col, int alignment);
    bool SetWrapText(int row, int col, bool on);
    // Writes the file, never over an existing one, and opens it. The failure message carries
    // the file's path, so what was written can still be found; a file written that no program
    // opened is said as saved (Unshown).
    bool Show();

    // The file Show wrote, once it has.
    const std::string& WrittenPath() const { return writtenPath_; }
    const CSheet& Sheet() const { return sheet_; }

private:
    // The cell at a sheet row and column index, or null after reporting `failure` when the
    // place is outside A1:Z or no sheet is active.
    CSheetCell* CellAt(int row, int col, const char* failure);
    bool Fail(const char* text, ExcelMessageKind kind = ExcelMessageKind::Error);
    // The UTF-8 path of `name` in the place's folder.
    std::string InFolder(const std::string& name) const;
    // Creates a file of its own under an ASCII name in the folder: the spreadsheet library
    // opens its file with the C library's fopen, which on Windows takes only the names of the
    // ANSI code page.
    bool MakeTemporaryFile(std::string& path) const;
    // Moves the written file to the place's name, numbered when that is taken, never over
    // another file; `path` is the name it took, or the place's own name when it took none.
    bool MoveIntoPlace(const std::string& written, std::string& path) const;

    CExportPlace place_;
    ExcelMessageHandler messages_;
    bool opened_ = false;
    bool workbook_ = false;
    bool sheetActive_ = false;
    CSheet sheet_;
    std::string writtenPath_;
};
