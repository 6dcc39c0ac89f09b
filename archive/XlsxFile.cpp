#include "archive/XlsxFile.h"

#include <xlsxwriter.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>

#include "Utils/ThreadCLocale.h"
#include "archive/Sheet.h"

namespace {
constexpr int kCentre = -4108;
constexpr int kLeft = -4131;
// The paper the operators' printers take; the library's default is US Letter.
constexpr uint8_t kPaperA4 = 9;

struct CWorkbookCloser {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

int Number(std::string_view text, std::size_t at, std::size_t length) {
    int value = 0;
    for (const char c : text.substr(at, length)) value = value * 10 + (c - '0');
    return value;
}

// The sheet only marks texts of the date-time shape; a date that does not exist stays text.
bool ReadDateTime(std::string_view text, lxw_datetime& when) {
    when.year = Number(text, 0, 4);
    when.month = Number(text, 5, 2);
    when.day = Number(text, 8, 2);
    when.hour = Number(text, 11, 2);
    when.min = Number(text, 14, 2);
    when.sec = text.size() > 16 ? Number(text, 17, 2) : 0;
    return when.year >= 1900 && when.month >= 1 && when.month <= 12 && when.day >= 1 &&
           when.day <= 31 && when.hour < 24 && when.min < 60 && when.sec < 60;
}

// One format object per distinct look, as the library wants them shared.
class CFormats {
public:
    explicit CFormats(lxw_workbook* workbook) : workbook_(workbook) {}

    lxw_format* Of(const CSheetCell& cell, const std::string& numberFormat) {
        const auto key =
            std::make_tuple(numberFormat, cell.bold, cell.fontSize, cell.border,
                            cell.horizontalAlignment, cell.verticalAlignment, cell.wrap);
        if (const auto found = formats_.find(key); found != formats_.end()) return found->second;
        lxw_format* format = workbook_add_format(workbook_);
        if (!numberFormat.empty()) format_set_num_format(format, numberFormat.c_str());
        if (cell.bold) format_set_bold(format);
        if (cell.fontSize > 0) format_set_font_size(format, cell.fontSize);
        if (cell.border) format_set_border(format, LXW_BORDER_THIN);
        if (cell.horizontalAlignment == kCentre) format_set_align(format, LXW_ALIGN_CENTER);
        if (cell.horizontalAlignment == kLeft) format_set_align(format, LXW_ALIGN_LEFT);
        if (cell.verticalAlignment == kCentre) format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
        if (cell.verticalAlignment == kLeft) format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
        if (cell.wrap) format_set_text_wrap(format);
        formats_.emplace(key, format);
        return format;
    }

private:
    lxw_workbook* workbook_;
    std::map<std::tuple<std::string, bool, int, bool, int, int, bool>, lxw_format*> formats_;
};

lxw_error WriteCell(lxw_worksheet* sheet, int row, int col, const CSheetCell& cell,
                    CFormats& formats) {
    const auto r = static_cast<lxw_row_t>(row);
    const auto c = static_cast<lxw_col_t>(col);
    lxw_datetime when{};
    switch (cell.kind) {
        case SheetValue::Number:
            return worksheet_write_number(sheet, r, c, cell.number,
                                          formats.Of(cell, cell.numberFormat));
        case SheetValue::DateTime:
            // Shown as the text was: to the minute or to the second.
            if (ReadDateTime(cell.text, when)) {
                const char* shown =
                    cell.text.size() > 16 ? "yyyy-mm-dd hh:mm:ss" : "yyyy-mm-dd hh:mm";
                return worksheet_write_datetime(sheet, r, c, &when, formats.Of(cell, shown));
            }
            return worksheet_write_string(sheet, r, c, cell.text.c_str(),
                                          formats.Of(cell, cell.numberFormat));
        case SheetValue::Text:
            return worksheet_write_string(sheet, r, c, cell.text.c_str(),
                                          formats.Of(cell, cell.numberFormat));
        case SheetValue::Empty:
            break;
    }
    return worksheet_write_blank(sheet, r, c, formats.Of(cell, cell.numberFormat));
}
}  // namespace

bool WriteXlsxFile(const CSheet& sheet, const std::string& path) {
    // The library prints numbers, widths and font sizes with printf: under a comma-decimal locale
    // the file would carry "0,5" and no spreadsheet program would read it.
    const CThreadCLocale cLocale;
    lxw_workbook* opened = workbook_new(path.c_str());
    if (opened == nullptr) return false;
    std::unique_ptr<lxw_workbook, CWorkbookCloser> workbook(opened);
    lxw_worksheet* worksheet = workbook_add_worksheet(opened, nullptr);
    if (worksheet == nullptr) return false;
    CFormats formats(opened);
    bool written = true;
    for (const CSheetRange& range : sheet.Merges()) {
        // The first cell is written below with its own value and look.
        written = worksheet_merge_range(
                      worksheet, static_cast<lxw_row_t>(range.firstRow),
                      static_cast<lxw_col_t>(range.firstCol), static_cast<lxw_row_t>(range.lastRow),
                      static_cast<lxw_col_t>(range.lastCol), "", nullptr) == LXW_NO_ERROR &&
                  written;
    }
    sheet.ForEachCell([&](int row, int col, const CSheetCell& cell) {
        written = WriteCell(worksheet, row, col, cell, formats) == LXW_NO_ERROR && written;
    });
    const std::map<int, double> widths = sheet.ColumnWidths();
    for (const auto& [col, width] : widths) {
        const auto c = static_cast<lxw_col_t>(col);
        written = worksheet_set_column(worksheet, c, c, width, nullptr) == LXW_NO_ERROR && written;
    }
    for (const auto& [row, height] : sheet.RowHeights(widths)) {
        written = worksheet_set_row(worksheet, static_cast<lxw_row_t>(row), height, nullptr) ==
                      LXW_NO_ERROR &&
                  written;
    }
    if (const CPrintLayout& print = sheet.PrintLayout(); print.set) {
        const auto row = static_cast<lxw_row_t>(print.titleRow);
        worksheet_set_landscape(worksheet);
        worksheet_set_paper(worksheet, kPaperA4);
        // One page wide, as many tall as the rows need.
        worksheet_fit_to_pages(worksheet, 1, 0);
        written = worksheet_repeat_rows(worksheet, row, row) == LXW_NO_ERROR && written;
    }
    return workbook_close(workbook.release()) == LXW_NO_ERROR && written;
}
