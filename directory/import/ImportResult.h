#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "database/WriteCheck.h"

// Why a line of an import file was not stored, or what of it was not (a listed meter), or what
// it did besides (a meter unbound).
enum class ImportReason {
    UnknownKind,           // the kind word is none of heat, water_cold, water_hot
    TooFewFields,          // the line ends before the record's last field
    SerialOutOfRange,      // a serial that is not 1..99999999 in digits
    PositionOutOfRange,    // a heat meter's pipe position other than 0 or 1
    BadDate,               // neither yyyy-mm-dd nor dd.mm.yyyy, or no such day
    MeterAlreadyStored,    // a meter of that kind already has the serial
    MeterNotFound,         // no stored meter of that kind has the serial
    NoApartmentNumber,     // a link line without an apartment number
    ApartmentNumberTaken,  // the building already has an apartment with the number
    ApartmentAmbiguous,    // the number is found in more than one building
    NoBuilding,            // a link line's building field names no stored building
    ApartmentMissing,      // a link to a number no apartment has: the meter was unbound
    HeaderIsRecord,        // the header line reads as a record; it was not stored
};

// One remark on one line: `text` is the offending field as the file has it.
struct CImportNote {
    int line = 0;  // counted from 1, the header included
    ImportReason reason = ImportReason::UnknownKind;
    std::string text;
    bool skipped = true;       // false: the line was stored, only this part of it was not
    std::size_t expected = 0;  // too few fields: how many the record has
};

enum class ImportOutcome {
    Read,            // the file was read; the counts say what was stored
    CannotOpen,      // the file cannot be opened or read; nothing stored
    NoBuilding,      // the apartments' building does not exist; nothing stored
    NoRecords,       // the file holds no record (empty, or a header only); nothing stored
    Refused,         // local.db cannot be written, or the tables to be written are damaged
    DatabaseFailed,  // the database itself failed: the whole file was rolled back
};

// What one import did. Stored counts meters stored, bindings made or apartments stored.
struct CImportResult {
    // Remarks beyond these are counted, not kept: a file of a million bad lines stays small.
    static constexpr std::size_t kKeptNotes = 1000;

    ImportOutcome outcome = ImportOutcome::Read;
    int stored = 0;
    int unbound = 0;  // link lines that left their meter unbound
    int skipped = 0;
    std::vector<CImportNote> notes;  // the first kKeptNotes, in line order
    int notesLeftOut = 0;
    CWriteRefusal refusal;       // why, when Refused
    std::string databaseReason;  // SQLite's message, when DatabaseFailed

    // Keeps the remark (its text cut short) while there is room, else counts it.
    void Note(CImportNote note);
    // Counts the line as skipped and keeps its reason.
    void Skip(CImportNote note);
};

// The command speaks English; the window Ukrainian.
enum class ImportLanguage { English, Ukrainian };

// "unknown kind \"steam\"", "meter 12345678 not found", ... Control characters of the file's
// text are shown escaped ("\r", "\x0B").
std::string ImportReasonText(const CImportNote& note, ImportLanguage language);
// "line N: reason"
std::string ImportNoteText(const CImportNote& note, ImportLanguage language);
// "S stored, U unbound, K skipped"
std::string ImportCountsText(const CImportResult& result, ImportLanguage language);
// "N more remarks not listed"
std::string ImportLeftOutText(int count, ImportLanguage language);
