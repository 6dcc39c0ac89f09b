#pragma once

#include <string>

// Why something could not be read from local.db: SQLite's own message. Every command and every
// screen says it in the same words, below.
struct CReadFailure {
    std::string reason;

    // SQLite's messages are never empty: an empty reason is no failure yet.
    bool Happened() const { return !reason.empty(); }
};

// For the commands, after their "vevo WORD: ": "local.db cannot be read: REASON".
inline std::string CannotReadLine(const CReadFailure& failure) {
    return "local.db cannot be read: " + failure.reason;
}

// For the operator, in a message box captioned "Помилка".
inline std::string CannotReadMessage(const CReadFailure& failure) {
    return "Не вдалося прочитати local.db: " + failure.reason;
}
