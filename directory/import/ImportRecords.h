#pragma once

#include <array>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "database/models/DataSubscriber.h"
#include "directory/import/ImportLines.h"
#include "directory/import/ImportResult.h"
#include "directory/import/MeterKinds.h"

// The records of the three import files, read from their lines. A line that gives no record
// gives the note saying why. Fields beyond a record's count are ignored.

constexpr int kImportCalibrationMonths = 48;

// kind;serial;date_install;date_initial_verification;position. A serial is 1 to 99999999 in
// digits only; a date is yyyy-mm-dd or dd.mm.yyyy and a day the calendar has.
struct CMeterLine {
    MeterKind kind = MeterKindHeat;
    int serial = 0;
    std::string dateInstall;  // yyyy-mm-dd
    std::string dateInitialVerification;
    int position = 0;  // heat meters only
};
std::variant<CMeterLine, CImportNote> ReadMeterLine(const CImportLine& line);

// kind;serial;apartment number[;building] (no header line). The building is its id or its
// address as the lists show it.
struct CLinkLine {
    MeterKind kind = MeterKindHeat;
    int serial = 0;
    std::string apartment;  // Windows-1251, as the records hold it
    std::string building;   // UTF-8 as the file has it; empty: any building
};
std::variant<CLinkLine, CImportNote> ReadLinkLine(const CImportLine& line);

// no;licno;sname;name;fname;total area;heated area;residents;room type;mzk;heat;cold;hot,
// the last three lists of serials separated by ","; an area may have a decimal comma.
struct CApartmentLine {
    std::unique_ptr<CDataSubscriber> apartment;  // bid left 0
    std::array<std::vector<int>, MeterKindCount> serials;
    std::vector<CImportNote> notes;  // listed serials out of range: not bound, line kept
};
std::variant<CApartmentLine, CImportNote> ReadApartmentLine(const CImportLine& line);

// Whether a header line would have been stored as a record of its file.
bool IsMeterRecord(const CImportLine& line);
bool IsApartmentRecord(const CImportLine& line);
