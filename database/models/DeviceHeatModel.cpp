#include "database/models/DeviceHeatModel.h"

#include "Utils/TextConversion.h"
#include "database/SQLite3.h"
#include "database/Statement.h"
#include "database/models/ModelRows.h"

namespace {

std::unique_ptr<CDataHeat> ReadHeatReading(const CQueryRows& rows) {
    auto reading = std::make_unique<CDataHeat>();
    reading->devid = rows.Int(0);
    reading->date = StoredTextToCp1251(rows.Text(1));
    reading->q_cooling = StoredTextToCp1251(rows.Text(2));
    reading->q = StoredTextToCp1251(rows.Text(3));
    reading->v = StoredTextToCp1251(rows.Text(4));
    reading->t1 = StoredTextToCp1251(rows.Text(5));
    reading->t2 = StoredTextToCp1251(rows.Text(6));
    reading->dt = StoredTextToCp1251(rows.Text(7));
    reading->running_time_hour = rows.Int(8);
    return reading;
}

}  // namespace

InsertReadingResult CDeviceHeatModel::InsertReading(const CDataHeat& reading,
                                                    CExecuteResult* outcome) {
    const auto text = [](const auto& field) { return Cp1251ToUtf8(field.view()); };
    return StoreReading(
        FormatStatement(Table().insertReading, reading.devid, text(reading.date),
                        text(reading.q_cooling), text(reading.q), text(reading.v), text(reading.t1),
                        text(reading.t2), text(reading.dt), reading.running_time_hour),
        reading.devid, reading.date.c_str(), outcome);
}

std::unique_ptr<CArrayDataHeat> CDeviceHeatModel::GetReadings(int devid, std::string_view from,
                                                              std::string_view to) {
    if (devid == 0) return std::make_unique<CArrayDataHeat>();
    return ReadList<CDataHeat>(Database(), ReadingsStatement(devid, from, to), ReadHeatReading);
}
