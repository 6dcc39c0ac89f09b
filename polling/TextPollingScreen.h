#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "polling/PollingScreen.h"

class CSQLite3Controller;

// The polling screen's tables as plain text, for the headless poll command: the stored meters'
// tables filled as the screen fills them, the tab and by-number choices fixed at construction.
// With a stream, each meter's row goes out as soon as that meter is done, and the by-number
// table when the run ends, so what was printed and what was stored agree at every moment.
class CTextPollingScreen : public CPollingScreen {
public:
    // `kind` is the stored meters' tab; `family` the by-number type (0 heat, 1 water) when
    // `byNumber` is set, with `typedNumber` the number to read.
    CTextPollingScreen(CSQLite3Controller& database, int kind, bool byNumber, int family,
                       std::string typedNumber, std::FILE* stream = nullptr);

    bool ByNumberTabShown() override { return byNumber_; }
    int SavedKindTab() override { return kind_; }
    int ByNumberFamily() override { return family_; }
    std::string TypedNumber() override { return typedNumber_; }
    void ShowReadingRow(int, int, int) override {}
    void ShowMeterRow(int kind, int row, const std::vector<CMeterCell>& cells) override;
    void ShowByNumberValues(const std::vector<std::string>& values) override;
    // Said on standard error, beside the table's empty values, when there is a stream.
    void ShowNoAnswer() override;
    // The meter read by number gave no reading.
    bool NoAnswer() const { return noAnswer_; }
    void PollingFinished(const CPollFailures& failures) override;

    // The data rows of the polled kind's table, or the by-number table's rows as label and
    // value: one line each, cells joined by tab.
    std::string Output() const;
    // What the run that ended said went wrong with local.db.
    const CPollFailures& Failures() const { return failures_; }

private:
    using Row = std::vector<std::string>;
    using Table = std::vector<Row>;

    static std::string LineOf(const Row& row);
    void Print(const std::string& text) const;

    Table meterTables_[PollKindCount];
    Table byNumberTable_;
    int kind_;
    bool byNumber_;
    int family_;
    std::string typedNumber_;
    std::FILE* stream_;
    CPollFailures failures_;
    bool noAnswer_ = false;
};
