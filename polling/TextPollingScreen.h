#pragma once

#include <string>
#include <vector>

#include "polling/PollingScreen.h"

class CSQLite3Controller;

// The polling screen's tables as plain text, for the headless poll command: the stored meters'
// tables filled as the screen fills them, the tab and by-number choices fixed at construction.
class CTextPollingScreen : public CPollingScreen {
public:
    // `kind` is the stored meters' tab; `family` the by-number type (0 heat, 1 water) when
    // `byNumber` is set, with `typedNumber` the number to read.
    CTextPollingScreen(CSQLite3Controller& database, int kind, bool byNumber, int family,
                       std::string typedNumber);

    bool ByNumberTabShown() override { return byNumber_; }
    int SavedKindTab() override { return kind_; }
    int ByNumberFamily() override { return family_; }
    std::string TypedNumber() override { return typedNumber_; }
    void SetMeterCell(int kind, int column, int row, const std::string& text) override;
    void SetByNumberValue(int row, const std::string& text) override;
    void PollingFinished() override {}

    // The data rows of the polled kind's table, or the by-number table's rows as label and
    // value: one line each, cells joined by tab.
    std::string Output() const;

private:
    using Table = std::vector<std::vector<std::string>>;

    Table meterTables_[3];
    Table byNumberTable_;
    int kind_;
    bool byNumber_;
    int family_;
    std::string typedNumber_;
};
