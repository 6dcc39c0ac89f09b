#include "polling/TextPollingScreen.h"

CTextPollingScreen::CTextPollingScreen(CSQLite3Controller& database, int kind, bool byNumber,
                                       int family, std::string typedNumber, std::FILE* stream)
    : kind_(kind),
      byNumber_(byNumber),
      family_(family),
      typedNumber_(std::move(typedNumber)),
      stream_(stream) {
    for (int k = 0; k < PollKindCount; ++k) {
        Table& table = meterTables_[k];
        const auto& headers = MeterHeadersOf(k);
        table.emplace_back(headers.begin(), headers.end());
        for (const CMeterRowHead& head : MeterRowHeads(database, k)) {
            Row& row = table.emplace_back(static_cast<std::size_t>(ColumnCountOf(k)));
            row[0] = head.serial;
            row[1] = head.apartment;
        }
    }
    for (const char* label : ByNumberLabelsOf(family == 0 ? 0 : 1))
        byNumberTable_.push_back({label, ""});
}

void CTextPollingScreen::ShowMeterRow(int kind, int row, const std::vector<CMeterCell>& cells) {
    Table& table = meterTables_[kind];
    if (row >= static_cast<int>(table.size())) return;
    for (const CMeterCell& cell : cells) {
        if (cell.column < ColumnCountOf(kind)) table[row][cell.column] = cell.text;
    }
    if (!byNumber_ && kind == kind_) Print(LineOf(table[row]));
}

void CTextPollingScreen::ShowByNumberValues(const std::vector<std::string>& values) {
    for (std::size_t row = 0; row < values.size() && row < byNumberTable_.size(); ++row)
        byNumberTable_[row][1] = values[row];
}

void CTextPollingScreen::ShowNoAnswer() {
    noAnswer_ = true;
    if (stream_ != nullptr) std::fputs("vevo poll: no answer\n", stderr);
}

void CTextPollingScreen::PollingFinished(const CPollFailures& failures) {
    failures_ = failures;
    if (byNumber_) Print(Output());
}

std::string CTextPollingScreen::Output() const {
    const Table& table = byNumber_ ? byNumberTable_ : meterTables_[kind_];
    std::string output;
    for (std::size_t r = byNumber_ ? 0 : 1; r < table.size(); ++r) output += LineOf(table[r]);
    return output;
}

std::string CTextPollingScreen::LineOf(const Row& row) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
        if (c > 0) line += '\t';
        line += row[c];
    }
    return line + '\n';
}

void CTextPollingScreen::Print(const std::string& text) const {
    if (stream_ == nullptr) return;
    std::fputs(text.c_str(), stream_);
    // A scheduler's time limit or a kill may end the run at any moment.
    std::fflush(stream_);
}
