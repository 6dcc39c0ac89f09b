#pragma once

#include <optional>
#include <string>
#include <vector>

class CSQLite3;

// Why local.db is not to be written now.
struct CWriteRefusal {
    enum class Kind {
        CannotWrite,  // read-only, no room, no journal can be made, locked past the time-out
        CannotRead,   // the check itself could not read the file
        Damaged,      // a table to be written failed its check: writing would spread the damage
    };
    Kind kind = Kind::CannotWrite;
    std::string reason;  // SQLite's message, or the first fault the check found
};

// Run before work that writes `tables`: the file must take a real write (rolled back at once),
// and each table with its indexes must pass PRAGMA quick_check, which reads only that table's
// pages, so the time grows with what will be written rather than with the whole file. None
// when the work may go ahead.
std::optional<CWriteRefusal> CheckBeforeWriting(CSQLite3& database,
                                                const std::vector<const char*>& tables);

// For the commands, after their "vevo WORD: ".
std::string RefusalLine(const CWriteRefusal& refusal);
// For the operator, in a message box captioned "Помилка".
std::string RefusalMessage(const CWriteRefusal& refusal);
