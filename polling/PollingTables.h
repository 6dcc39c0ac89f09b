#pragma once

#include <string>
#include <vector>

class CDeviceBaseModel;
class CSQLite3Controller;

// Meter kinds, in the order of tabs, tables and models.
enum PollKinds { PollKindHeat = 0, PollKindWaterCold = 1, PollKindWaterHot = 2, PollKindCount = 3 };

// The column layout of the meter tables: heat 11 columns, water 9, the last is the status.
int ColumnCountOf(int kind);
int StatusColumnOf(int kind);
const std::vector<const char*>& MeterHeadersOf(int kind);

// Row labels of the by-number table for the family of the type list: 0 heat, 1 water.
const std::vector<const char*>& ByNumberLabelsOf(int family);

CDeviceBaseModel& ModelOfKind(CSQLite3Controller& database, int kind);

// The first two cells of every stored meter's row, in list order: the serial "%08i" and the
// apartment number of a bound meter, as UTF-8 for display. Empty when the list cannot be fetched.
struct CMeterRowHead {
    std::string serial;
    std::string apartment;
};
std::vector<CMeterRowHead> MeterRowHeads(CSQLite3Controller& database, int kind);
// The number of stored meters of a kind; 0 when the list cannot be fetched.
int MeterCountOf(CSQLite3Controller& database, int kind);

// Elapsed polling time as "hh:mm:ss".
std::string ElapsedText(long long milliseconds);
