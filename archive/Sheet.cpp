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

int CharacterCount(const std::string& text) {
    int count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
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
        return cells_[{range->firstRow, range->firstCol}];
    }
    return cells_[{row, col}];
}

int CSheet::LongestText(int col) const {
    int longest = 0;
    for (const auto& [place, cell] : cells_) {
        if (place.second != col || cell.kind == SheetValue::Empty) continue;
        if (MergeHolding(place.first, place.second) != nullptr) continue;
        longest = std::max(longest, CharacterCount(cell.text));
    }
    return longest;
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
