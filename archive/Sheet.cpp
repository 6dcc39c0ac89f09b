#include "archive/Sheet.h"

#include <algorithm>

#include "Utils/Decimal.h"

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Counts the digits from `at` on and moves past them.
std::size_t SkipDigits(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at - start;
}

bool IsPlainDecimal(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    if (SkipDigits(text, at) == 0) return false;
    if (at < text.size() && text[at] == '.') {
        ++at;
        if (SkipDigits(text, at) == 0) return false;
    }
    return at == text.size();
}

// "yyyy-mm-dd hh:mm" or "yyyy-mm-dd hh:mm:ss", by the shape alone.
bool IsReadingDateTime(std::string_view text) {
    constexpr std::string_view kMinutes = "dddd-dd-dd dd:dd";
    constexpr std::string_view kSeconds = "dddd-dd-dd dd:dd:dd";
    const std::string_view shape = text.size() == kMinutes.size() ? kMinutes : kSeconds;
    if (text.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == 'd' ? !IsDigit(text[i]) : text[i] != shape[i]) return false;
    }
    return true;
}

int CharacterCount(std::string_view text) {
    int count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// Columns are measured in widths of a digit; Cyrillic letters run a little wider.
constexpr double kWidthPerCharacter = 1.1;
constexpr double kWidthMargin = 2;
constexpr double kWidestColumn = 255;
// What a column is wide when nothing sets it: the spreadsheet programs' default.
constexpr double kDefaultWidth = 8.43;
// A line of the default 11-point font.
constexpr double kPointsPerLine = 15;
constexpr int kDefaultFontSize = 11;

// How many lines a wrapped text takes in a column `width` digits wide, an average letter being
// about a digit wide: words go on a line while they fit, and a word longer than a line is
// broken.
int WrappedLines(std::string_view text, double width) {
    const int perLine = std::max(1, static_cast<int>(width));
    int lines = 1;
    int used = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const int word = CharacterCount(text.substr(at, end - at));
        at = end + 1;
        if (word == 0) continue;
        const int needed = used == 0 ? word : used + 1 + word;
        if (needed <= perLine) {
            used = needed;
            continue;
        }
        if (used > 0) ++lines;
        lines += (word - 1) / perLine;
        used = (word - 1) % perLine + 1;
    }
    return lines;
}
}  // namespace

const CSheetRange* CSheet::MergeHolding(int row, int col) const {
    for (const CSheetRange& range : merges_) {
        if (range.Holds(row, col)) return &range;
    }
    return nullptr;
}

CSheetCell& CSheet::At(int row, int col) {
    if (const CSheetRange* range = MergeHolding(row, col)) {
        row = range->firstRow;
        col = range->firstCol;
    }
    if (rows_.size() <= static_cast<std::size_t>(row))
        rows_.resize(static_cast<std::size_t>(row) + 1);
    auto& cells = rows_[static_cast<std::size_t>(row)];
    if (cells.size() <= static_cast<std::size_t>(col))
        cells.resize(static_cast<std::size_t>(col) + 1);
    CSheetCell& cell = cells[static_cast<std::size_t>(col)];
    cell.used = true;
    return cell;
}

const CSheetCell* CSheet::Find(int row, int col) const {
    if (row < 0 || col < 0 || static_cast<std::size_t>(row) >= rows_.size()) return nullptr;
    const auto& cells = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= cells.size()) return nullptr;
    const CSheetCell& cell = cells[static_cast<std::size_t>(col)];
    return cell.used ? &cell : nullptr;
}

std::map<int, double> CSheet::ColumnWidths() const {
    std::map<int, int> longest;
    ForEachCell([&](int row, int col, const CSheetCell& cell) {
        if (!fittedColumns_.contains(col) || cell.kind == SheetValue::Empty) return;
        if (MergeHolding(row, col) != nullptr) return;
        int& length = longest[col];
        length = std::max(length, CharacterCount(cell.text));
    });
    std::map<int, double> widths;
    for (const int col : fittedColumns_) {
        widths[col] = std::min(longest[col] * kWidthPerCharacter + kWidthMargin, kWidestColumn);
    }
    return widths;
}

double CSheet::WidthOf(int col, const std::map<int, double>& widths) const {
    const auto found = widths.find(col);
    return found != widths.end() ? found->second : kDefaultWidth;
}

std::map<int, double> CSheet::RowHeights(const std::map<int, double>& widths) const {
    std::map<int, double> heights;
    for (const int row : fittedRows_) {
        double height = kPointsPerLine;
        if (static_cast<std::size_t>(row) < rows_.size()) {
            const auto& cells = rows_[static_cast<std::size_t>(row)];
            for (std::size_t col = 0; col < cells.size(); ++col) {
                const CSheetCell& cell = cells[col];
                const int c = static_cast<int>(col);
                if (!cell.used || cell.kind == SheetValue::Empty) continue;
                if (MergeHolding(row, c) != nullptr) continue;
                const int lines = cell.wrap ? WrappedLines(cell.text, WidthOf(c, widths)) : 1;
                const int size = cell.fontSize > 0 ? cell.fontSize : kDefaultFontSize;
                height = std::max(height, lines * kPointsPerLine * size / kDefaultFontSize);
            }
        }
        heights[row] = height;
    }
    return heights;
}

int DecimalsOf(std::string_view text) {
    if (!IsPlainDecimal(text)) return -1;
    const std::size_t point = text.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

void SetValue(CSheetCell& cell, std::string_view text) {
    cell.text = text;
    if (IsPlainDecimal(text)) {
        cell.kind = SheetValue::Number;
        cell.number = ParseDecimal(text);
    } else if (IsReadingDateTime(text)) {
        cell.kind = SheetValue::DateTime;
    } else {
        cell.kind = SheetValue::Text;
    }
}

void SetText(CSheetCell& cell, std::string_view text) {
    cell.text = text;
    cell.kind = SheetValue::Text;
}
