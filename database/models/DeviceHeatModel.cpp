#include "database/models/DeviceHeatModel.h"

#include "database/SQLite3.h"
#include "database/Statement.h"
#include "database/models/ModelRows.h"

namespace {

std::unique_ptr<CDataHeat> ReadHeatReading(const CQueryRows& rows) {
    auto reading = std::make_unique<CDataHeat>();
    reading->devid = rows.Int(0);
    reading->date = rows.Text(1);
    reading->q_cooling = rows.Text(2);
    reading->q = rows.Text(3);
    reading->v = rows.Text(4);
    reading->t1 = rows.Text(5);
    reading->t2 = rows.Text(6);
    reading->dt = rows.Text(7);
    reading->running_time_hour = rows.Int(8);
    return reading;
}

}  // namespace

bool CDeviceHeatModel::InsertReading(const CDataHeat& reading) {
    return Database().Execute(FormatStatement(Table().insertReading, reading.devid, reading.date,
                                              reading.q_cooling, reading.q, reading.v, reading.t1,
                                              reading.t2, reading.dt, reading.running_time_hour)
                                  .c_str());
}

std::unique_ptr<CArrayDataHeat> CDeviceHeatModel::GetReadings(int devid, std::string_view from,
                                                              std::string_view to) {
    if (devid == 0) return std::make_unique<CArrayDataHeat>();
    return ReadList<CDataHeat>(Database(), ReadingsStatement(devid, from, to), ReadHeatReading);
}
