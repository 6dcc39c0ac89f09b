#pragma once

#include <string>
#include <vector>

// Why a line of an import file was not stored, or what of it was not (a listed meter).
enum class ImportReason {
    UnknownKind,           // the kind word is none of heat, water_cold, water_hot
    TooFewFields,          // the line ends before the record's last field
    SerialOutOfRange,      // a serial outside 1..99999999
    PositionOutOfRange,    // a heat meter's pipe position other than 0 or 1
    MeterAlreadyStored,    // a meter of that kind already has the serial
    MeterNotFound,         // no stored meter of that kind has the serial
    NoApartmentNumber,     // a link line without an apartment number
    ApartmentNumberTaken,  // the building already has an apartment with the number
    ApartmentAmbiguous,    // the number is found in more than one building
};

// One remark on one line: `text` is the offending field as the file has it.
struct CImportNote {
    int line = 0;  // counted from 1, the header included
    ImportReason reason = ImportReason::UnknownKind;
    std::string text;
    bool skipped = true;  // false: the line was stored, only this part of it was not
};

// "unknown kind \"steam\"", "meter 12345678 not found", ...
std::string ImportReasonText(const CImportNote& note);

enum class ImportOutcome {
    Read,            // the file was read; the counts say what was stored
    CannotOpen,      // nothing read, nothing stored
    NoBuilding,      // the apartments' building does not exist; nothing stored
    DatabaseFailed,  // the database itself failed: the whole file was rolled back
};

// What one import did. Stored counts meters stored, bindings made or apartments stored.
struct CImportResult {
    ImportOutcome outcome = ImportOutcome::Read;
    int stored = 0;
    int unbound = 0;  // link lines that left their meter unbound
    int skipped = 0;
    std::vector<CImportNote> notes;  // in line order
};

// "S stored, U unbound, K skipped"
std::string ImportCountsText(const CImportResult& result);
