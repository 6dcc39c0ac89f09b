#pragma once

#include <optional>
#include <string>
#include <vector>

#include "database/ReadFailure.h"

// What of a run went wrong with local.db. A reading that could not be stored shows "Ошибка" as
// a silent meter does; only this tells that it was the file, and why.
struct CPollFailures {
    // A meter list could not be read: its meters were not asked.
    std::optional<CReadFailure> unreadList;
    // Answered readings not stored, for any reason but being stored already, and SQLite's
    // reason for the first of them.
    int notStored = 0;
    std::string notStoredReason;

    bool Any() const { return unreadList.has_value() || notStored > 0; }
};

// For the command, one line for each kind of failure, each after "vevo poll: ".
std::vector<std::string> PollFailureLines(const CPollFailures& failures);
// For the operator, in a box captioned "Помилка"; empty when nothing failed.
std::string PollFailureMessage(const CPollFailures& failures);
