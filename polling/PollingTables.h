#pragma once

#include <string>
#include <vector>

class CDataHeat;
class CDataWater;
class CDeviceBaseModel;
class CSQLite3Controller;
struct CReadFailure;

// Meter kinds, in the order of tabs, tables and models.
enum PollKinds { PollKindHeat = 0, PollKindWaterCold = 1, PollKindWaterHot = 2, PollKindCount = 3 };

// The columns of the meter tables, by name. Heat and water tables share the first three and
// the last; the values between follow the reading.
enum HeatColumn {
    HeatSerial, HeatApartment, HeatDate, HeatQCooling, HeatQ, HeatV, HeatT1, HeatT2, HeatDt,
    HeatRunTime, HeatStatus, HeatColumnCount
};
enum WaterColumn {
    WaterSerial, WaterApartment, WaterDate, WaterV, WaterVFlow, WaterBat, WaterRunTime,
    WaterVReverse, WaterStatus, WaterColumnCount
};

int ColumnCountOf(int kind);
// The status column of a kind's table, the last.
int StatusColumnOf(int kind);
// The status of a meter that gave no reading.
inline constexpr const char* kStatusFailed = "Ошибка";
const std::vector<const char*>& MeterHeadersOf(int kind);

// One cell of a meter table row.
struct CMeterCell {
    int column;
    std::string text;
};
// What a meter's row shows once its reading is stored: the reading's values and "OK".
std::vector<CMeterCell> ReadingCells(const CDataHeat& reading);
std::vector<CMeterCell> ReadingCells(const CDataWater& reading);
// What a meter's row shows when no reading came or it could not be stored: "Ошибка" in the
// status column, the other cells as they were.
CMeterCell ErrorCell(int kind);

// Row labels of the by-number table for the family of the type list: 0 heat, 1 water; and the
// values of a reading taken by number, one a row.
const std::vector<const char*>& ByNumberLabelsOf(int family);
std::vector<std::string> ByNumberValues(const CDataHeat& reading);
std::vector<std::string> ByNumberValues(const CDataWater& reading);

CDeviceBaseModel& ModelOfKind(CSQLite3Controller& database, int kind);
// The tables a walk of the kind writes: its readings and, through their triggers, their daily
// maxima.
std::vector<const char*> TablesWrittenByWalk(int kind);

// The first two cells of every stored meter's row, in list order: the serial "%08i" and the
// apartment number of a bound meter, as UTF-8 for display. Empty when the list cannot be
// fetched, and SQLite's reason in `failure` when one is given.
struct CMeterRowHead {
    std::string serial;
    std::string apartment;
};
std::vector<CMeterRowHead> MeterRowHeads(CSQLite3Controller& database, int kind,
                                         CReadFailure* failure = nullptr);
// The number of stored meters of a kind; 0 when the list cannot be fetched.
int MeterCountOf(CSQLite3Controller& database, int kind);

// Elapsed polling time as "hh:mm:ss".
std::string ElapsedText(long long milliseconds);
