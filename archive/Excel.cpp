#include "archive/Excel.h"

#include <algorithm>
#include <utility>

#include "Utils/FilePath.h"
#include "Utils/Format.h"
#include "archive/DesktopOpener.h"
#include "archive/ExportFiles.h"
#include "archive/XlsxFile.h"

namespace {
constexpr int kLastColumn = 25;  // Z
// Enough numbered names for any day's exports of one report.
constexpr int kMostNumbered = 999;

std::string WithoutLineBreaks(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text) {
        if (c != '\r' && c != '\n') kept += c;
    }
    return kept;
}

const char* NumberFormatOf(int code) {
    switch (code) {
        case 3:
            return "0.000";
        case 2:
            return "0.00";
        case 1:
            return "0.0";
        case 0:
            return "0";
        default:
            return nullptr;
    }
}
}  // namespace

CExcel::CExcel(CExportPlace place, ExcelMessageHandler messages)
    : place_(std::move(place)), messages_(std::move(messages)) {}

bool CExcel::Fail(const char* text, ExcelMessageKind kind) {
    if (messages_) messages_(text, kind);
    return false;
}

bool CExcel::Open() {
    opened_ = MakeWritableFolder(place_.folder);
    return opened_ || Fail("Невозможно открыть Microsoft Excel!");
}

bool CExcel::CreateWorkbook() {
    workbook_ = opened_;
    return workbook_ || Fail("Ошибка при создания книги");
}

bool CExcel::ActivateSheet(int number) {
    // A new workbook has the one sheet.
    sheetActive_ = workbook_ && number == 1;
    return sheetActive_ || Fail("Ошибка при открытии листа");
}

CSheetCell* CExcel::CellAt(int row, int col, const char* failure) {
    if (!sheetActive_ || row < 1 || col < 0 || col > kLastColumn) {
        if (failure != nullptr) Fail(failure);
        return nullptr;
    }
    return &sheet_.At(row - 1, col);
}

bool CExcel::WriteCell(int row, int col, std::string_view text, int formatCode) {
    CSheetCell* cell = CellAt(row, col, "Ошибка 2 при записи в ячейку");
    if (cell == nullptr) return false;
    std::string value(text);
    std::replace(value.begin(), value.end(), ',', '.');
    if (const char* format = NumberFormatOf(formatCode)) cell->numberFormat = format;
    SetValue(*cell, value);
    return true;
}

bool CExcel::WriteText(int row, int col, std::string_view text) {
    CSheetCell* cell = CellAt(row, col, "Ошибка 3 при записи в ячейку");
    if (cell == nullptr) return false;
    SetText(*cell, WithoutLineBreaks(text));
    return true;
}

bool CExcel::SetCellsValue(int row, int column, std::string_view text) {
    CSheetCell* cell = CellAt(row, column - 1, nullptr);
    if (cell == nullptr) return false;
    SetValue(*cell, WithoutLineBreaks(text));
    return true;
}

bool CExcel::MergeRange(int row1, int col1, int row2, int col2) {
    if (CellAt(row1, col1, nullptr) == nullptr || CellAt(row2, col2, nullptr) == nullptr)
        return false;
    sheet_.Merge({std::min(row1, row2) - 1, std::min(col1, col2), std::max(row1, row2) - 1,
                  std::max(col1, col2)});
    return true;
}

bool CExcel::SetBold(int row, int col, int /*style*/, bool on) {
    CSheetCell* cell = CellAt(row, col, nullptr);
    if (cell != nullptr) cell->bold = on;
    return cell != nullptr;
}

bool CExcel::SetBorder(int row, int col, int lineStyle) {
    CSheetCell* cell = CellAt(row, col, "Ошибка при рисовании рамки ячейки");
    if (cell != nullptr) cell->border = lineStyle == kLineContinuous;
    return cell != nullptr;
}

bool CExcel::SetFontSize(int row, int col, int size) {
    CSheetCell* cell = CellAt(row, col, "Ошибка при изменении размера шрифта");
    if (cell != nullptr) cell->fontSize = size;
    return cell != nullptr;
}

bool CExcel::AutoFitColumn(int row, int col) {
    if (CellAt(row, col, "Ошибка при изменении размера Столбца") == nullptr) return false;
    sheet_.FitColumn(col);
    return true;
}

bool CExcel::AutoFitRow(int row) {
    if (CellAt(row, 0, "Ошибка при изменении высоты строки") == nullptr) return false;
    sheet_.FitRow(row - 1);
    return true;
}

bool CExcel::SetPrintLayout(int titleRow) {
    if (CellAt(titleRow, 0, "Ошибка при настройке печати") == nullptr) return false;
    sheet_.SetPrintLayout(titleRow - 1);
    return true;
}

bool CExcel::SetHorizontalAlignment(int row, int col, int alignment) {
    CSheetCell* cell = CellAt(row, col, "Ошибка при горизонтальном выравнивании");
    if (cell != nullptr) cell->horizontalAlignment = alignment;
    return cell != nullptr;
}

bool CExcel::SetVerticalAlignment(int row, int col, int alignment) {
    CSheetCell* cell = CellAt(row, col, "Ошибка при вертикальном выравнивании");
    if (cell != nullptr) cell->verticalAlignment = alignment;
    return cell != nullptr;
}

bool CExcel::SetWrapText(int row, int col, bool on) {
    CSheetCell* cell = CellAt(row, col, "Ошибка при установки ширины столбцов");
    if (cell != nullptr) cell->wrap = on;
    return cell != nullptr;
}

std::string CExcel::InFolder(const std::string& name) const {
    return Utf8OfPath(PathOfUtf8(place_.folder) / PathOfUtf8(name));
}

bool CExcel::MakeTemporaryFile(std::string& path) const {
    for (int n = 1; n <= kMostNumbered; ++n) {
        path = InFolder(Format(".vevo-export-%i.tmp", n));
        const NewFile made = MakeNewFile(path);
        if (made != NewFile::Exists) return made == NewFile::Made;
    }
    return false;
}

bool CExcel::MoveIntoPlace(const std::string& written, std::string& path) const {
    for (int n = 1; n <= kMostNumbered; ++n) {
        const std::string name = n == 1 ? place_.fileName : NumberedFileName(place_.fileName, n);
        path = InFolder(name);
        const NewFile moved = MoveToNewName(written, path);
        if (moved == NewFile::Made) return true;
        if (moved == NewFile::Failed || !place_.numberIfTaken) break;
    }
    path = InFolder(place_.fileName);
    return false;
}

bool CExcel::Show() {
    const auto failed = [this](const std::string& path) {
        return Fail(("Ошибка при показе Excel\n" + path).c_str(), ExcelMessageKind::Plain);
    };
    std::string path = InFolder(place_.fileName);
    std::string written;
    if (!opened_ || !MakeTemporaryFile(written)) return failed(path);
    if (!WriteXlsxFile(sheet_, CLibraryPath(written)) || !MoveIntoPlace(written, path)) {
        // The temporary name was ours alone; a file that could not be written whole is no export.
        RemoveFile(written);
        return failed(path);
    }
    writtenPath_ = path;
    if (!place_.opener.empty() && !OpenInDesktop(place_.opener, path)) {
        return Fail(("Ошибка при показе Excel\nФайл збережено: " + path).c_str(),
                    ExcelMessageKind::Unshown);
    }
    return true;
}
