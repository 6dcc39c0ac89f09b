#include "database/WriteCheck.h"

#include <algorithm>

#include "Utils/Format.h"
#include "database/QueryRows.h"
#include "database/ReadFailure.h"
#include "database/SQLite3.h"
#include "database/Statement.h"

std::optional<CWriteRefusal> CheckBeforeWriting(CSQLite3& database,
                                                const std::vector<const char*>& tables) {
    if (std::string why = database.WhyNotWritable(); !why.empty())
        return CWriteRefusal{CWriteRefusal::Kind::CannotWrite, std::move(why)};
    for (const char* table : tables) {
        CQueryRows rows(database, FormatStatement("PRAGMA quick_check('%s');", table));
        // The first row is "ok" or the first fault found.
        const bool read = rows.Next();
        if (!read) {
            // A check that cannot even begin (a damaged schema, a file locked past the time-out).
            return CWriteRefusal{CWriteRefusal::Kind::CannotRead,
                                 rows.Error().empty() ? "no answer from the check" : rows.Error()};
        }
        if (rows.Text(0) != "ok") {
            // The check's lines ("*** in database main ***", then the fault) made one.
            std::string fault(rows.Text(0));
            std::replace(fault.begin(), fault.end(), '\n', ' ');
            return CWriteRefusal{CWriteRefusal::Kind::Damaged, std::move(fault)};
        }
    }
    return std::nullopt;
}

namespace {
// The words of one language for each kind of refusal, %s standing for the reason.
struct CRefusalWords {
    std::string (*cannotRead)(const CReadFailure&);
    const char* damaged;
    const char* cannotWrite;
};

std::string Said(const CWriteRefusal& refusal, const CRefusalWords& words) {
    switch (refusal.kind) {
        case CWriteRefusal::Kind::CannotRead:
            return words.cannotRead({refusal.reason});
        case CWriteRefusal::Kind::Damaged:
            return Format(words.damaged, refusal.reason.c_str());
        case CWriteRefusal::Kind::CannotWrite:
            break;
    }
    return Format(words.cannotWrite, refusal.reason.c_str());
}
}  // namespace

std::string RefusalLine(const CWriteRefusal& refusal) {
    return Said(refusal, {CannotReadLine,
                          "local.db is damaged (%s); nothing was written to it. Keep a copy of "
                          "it before anything is done to mend it",
                          "local.db cannot be written: %s"});
}

std::string RefusalMessage(const CWriteRefusal& refusal) {
    return Said(refusal, {CannotReadMessage,
                          "Файл local.db пошкоджено (%s), тож до нього нічого не записано. "
                          "Збережіть копію файлу, перш ніж його лагодити.",
                          "Не вдалося записати до local.db: %s"});
}
