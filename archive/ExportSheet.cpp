#include "archive/ExportSheet.h"

#include <algorithm>

#include "Utils/Format.h"
#include "Utils/TextConversion.h"
#include "archive/Excel.h"

namespace {
constexpr int kTitleFontSize = 14;
constexpr int kFirstTableRow = 4;
// A cell longer than this, in its 8-bit form, widens its column.
constexpr std::size_t kFitBeyondBytes = 8;
// "Keep the cell's format".
constexpr int kNoNumberFormat = -1;
// The number formats go from "0" to "0.000".
constexpr int kMostDecimals = 3;

void WriteHeading(const CArchiveGrid& grid, const std::string& buildingLabel, CExcel& excel,
                  bool& written) {
    const int c = grid.colCount;
    const int h = c / 2;
    excel.MergeRange(1, 0, 1, h);
    excel.SetBold(1, 0, 0, true);
    excel.SetHorizontalAlignment(1, 0, CExcel::kAlignLeft);
    written = written && excel.WriteCell(1, 0, "Адреса:", kNoNumberFormat);
    excel.MergeRange(1, h + 1, 1, c);
    excel.SetBold(1, h + 1, 0, true);
    excel.SetHorizontalAlignment(1, h + 1, CExcel::kAlignLeft);
    written = written && excel.WriteCell(1, h + 1, buildingLabel, kNoNumberFormat);
    excel.MergeRange(2, 0, 2, c);
    excel.SetFontSize(2, 0, kTitleFontSize);
    excel.SetBold(2, 0, 0, true);
    excel.SetHorizontalAlignment(2, c, CExcel::kAlignCentre);
    excel.SetVerticalAlignment(2, c, CExcel::kAlignCentre);
    written = written && excel.WriteText(2, 0, ReportTitle(grid.name));
}

void FrameCell(CExcel& excel, int row, int col) {
    excel.SetBorder(row, col, CExcel::kLineContinuous);
    excel.SetHorizontalAlignment(row, col, CExcel::kAlignCentre);
    excel.SetVerticalAlignment(row, col, CExcel::kAlignCentre);
}

// The number format that shows a numeric text with its own decimals, as the grid shows it;
// "keep the cell's format" for any other text.
int NumberFormatCode(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    const int decimals = DecimalsOf(text);
    return decimals >= 0 && decimals <= kMostDecimals ? decimals : kNoNumberFormat;
}

// Row i of the grid into sheet row 4 + i, after its number: "№" over the titles, then 1, 2, 3
// for the meters; the totals row has none.
bool WriteTableRow(const CArchiveGrid& grid, int i, int& numbered, CExcel& excel) {
    const int r = kFirstTableRow + i;
    FrameCell(excel, r, 0);
    if (i == 0) {
        excel.SetCellsValue(r, 1, "№");
    } else if (grid.rows[static_cast<std::size_t>(i)] != ArchiveRow::Totals) {
        excel.SetCellsValue(r, 1, Format("%i", ++numbered));
    }
    for (int j = 0; j < grid.colCount; ++j) {
        const std::string& text = grid.Cell(j, i);
        FrameCell(excel, r, j + 1);
        excel.SetWrapText(r, j + 1, true);
        if (text.empty()) continue;
        if (i == 0) {
            if (!excel.WriteText(r, j + 1, text)) return false;
            continue;
        }
        if (!excel.WriteCell(r, j + 1, text, NumberFormatCode(text))) return false;
        if (Utf8ToCp1251(text).size() > kFitBeyondBytes) excel.AutoFitColumn(r, j + 1);
    }
    return true;
}
}  // namespace

ExportResult ExportGrid(const CArchiveGrid& grid, const std::string& buildingLabel, CExcel& excel) {
    if (!excel.Open()) return ExportResult::NotOpened;
    excel.CreateWorkbook();
    excel.ActivateSheet(1);
    bool written = true;
    WriteHeading(grid, buildingLabel, excel, written);
    int numbered = 0;
    for (int i = 0; written && i < grid.rowCount; ++i) {
        written = WriteTableRow(grid, i, numbered, excel);
    }
    // The write has shown its message; a sheet missing cells is not shown as the report.
    if (!written) return ExportResult::WriteFailed;
    // The titles wrap in their columns: their row grows to show them whole, and it heads every
    // printed page.
    excel.AutoFitRow(kFirstTableRow);
    excel.SetPrintLayout(kFirstTableRow);
    return excel.Show() ? ExportResult::Shown : ExportResult::NotShown;
}
