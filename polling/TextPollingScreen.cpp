#include "polling/TextPollingScreen.h"

#include "polling/PollingTables.h"

CTextPollingScreen::CTextPollingScreen(CSQLite3Controller& database, int kind, bool byNumber,
                                       int family, std::string typedNumber)
    : kind_(kind), byNumber_(byNumber), family_(family), typedNumber_(std::move(typedNumber)) {
    for (int k = 0; k < PollKindCount; ++k) {
        Table& table = meterTables_[k];
        const auto& headers = MeterHeadersOf(k);
        table.emplace_back(headers.begin(), headers.end());
        for (const CMeterRowHead& head : MeterRowHeads(database, k)) {
            auto& row = table.emplace_back(static_cast<std::size_t>(ColumnCountOf(k)));
            row[0] = head.serial;
            row[1] = head.apartment;
        }
    }
    for (const char* label : ByNumberLabelsOf(family == 0 ? 0 : 1))
        byNumberTable_.push_back({label, ""});
}

void CTextPollingScreen::SetMeterCell(int kind, int column, int row, const std::string& text) {
    Table& table = meterTables_[kind];
    if (row < static_cast<int>(table.size()) && column < ColumnCountOf(kind))
        table[row][column] = text;
}

void CTextPollingScreen::SetByNumberValue(int row, const std::string& text) {
    if (row < static_cast<int>(byNumberTable_.size())) byNumberTable_[row][1] = text;
}

std::string CTextPollingScreen::Output() const {
    const Table& table = byNumber_ ? byNumberTable_ : meterTables_[kind_];
    std::string output;
    for (std::size_t r = byNumber_ ? 0 : 1; r < table.size(); ++r) {
        for (std::size_t c = 0; c < table[r].size(); ++c) {
            if (c > 0) output += '\t';
            output += table[r][c];
        }
        output += '\n';
    }
    return output;
}
