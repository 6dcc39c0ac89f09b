#pragma once

#include <string>
#include <vector>

#include "polling/PollFailures.h"
#include "polling/PollingTables.h"

// What the polling thread reads from and writes to the screen it serves: the polling screen, or
// the text tables of the headless poll command. The thread makes every call through
// Synchronize, so a screen is only ever touched on the user-interface thread.
class CPollingScreen {
public:
    virtual ~CPollingScreen() = default;

    // The outer tab "За номером" is showing.
    virtual bool ByNumberTabShown() = 0;
    // The inner tab of the stored meters: 0 heat, 1 cold water, 2 hot water.
    virtual int SavedKindTab() = 0;
    // The by-number family: 0 "Тепло", 1 "Вода", -1 none chosen.
    virtual int ByNumberFamily() = 0;
    // The text of the by-number edit.
    virtual std::string TypedNumber() = 0;

    // Meter `row` of `count` in the kind's table is being read.
    virtual void ShowReadingRow(int kind, int row, int count) = 0;
    // A meter is done: these cells of its row in the kind's table (row 0 is the header, meter i
    // is row i + 1); the other cells keep what they had.
    virtual void ShowMeterRow(int kind, int row, const std::vector<CMeterCell>& cells) = 0;
    // The value column of the by-number table, from the top.
    virtual void ShowByNumberValues(const std::vector<std::string>& values) = 0;
    // The meter read by number gave no reading: silent, another meter, or a reply not sound.
    virtual void ShowNoAnswer() = 0;
    // The run has ended: back to idle (Start shown, Stop hidden, elapsed time stopped), and
    // what of it went wrong with local.db said.
    virtual void PollingFinished(const CPollFailures& failures) = 0;
};
