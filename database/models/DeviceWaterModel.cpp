#include "database/models/DeviceWaterModel.h"

#include "database/SQLite3.h"
#include "database/Statement.h"
#include "database/models/ModelRows.h"

namespace {

std::unique_ptr<CDataWater> ReadWaterReading(const CQueryRows& rows) {
    auto reading = std::make_unique<CDataWater>();
    reading->devid = rows.Int(0);
    reading->date = rows.Text(1);
    reading->v = rows.Text(2);
    reading->v_flow = rows.Text(3);
    reading->bat = rows.Text(4);
    reading->running_time_minute = rows.Int(5);
    return reading;
}

}  // namespace

bool CDeviceWaterModel::InsertReading(const CDataWater& reading) {
    return Database().Execute(FormatStatement(Table().insertReading, reading.devid, reading.date,
                                              reading.v, reading.v_flow, reading.bat,
                                              reading.running_time_minute, reading.v_reverse)
                                  .c_str());
}

std::unique_ptr<CArrayDataWater> CDeviceWaterModel::GetReadings(int devid, std::string_view from,
                                                                std::string_view to) {
    if (devid == 0) return std::make_unique<CArrayDataWater>();
    return ReadList<CDataWater>(Database(), ReadingsStatement(devid, from, to), ReadWaterReading);
}
