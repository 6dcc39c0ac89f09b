#include "database/models/DeviceWaterModel.h"

#include "Utils/TextConversion.h"
#include "database/SQLite3.h"
#include "database/Statement.h"
#include "database/models/ModelRows.h"

namespace {

std::unique_ptr<CDataWater> ReadWaterReading(const CQueryRows& rows) {
    auto reading = std::make_unique<CDataWater>();
    reading->devid = rows.Int(0);
    reading->date = StoredTextToCp1251(rows.Text(1));
    reading->v = StoredTextToCp1251(rows.Text(2));
    reading->v_flow = StoredTextToCp1251(rows.Text(3));
    reading->bat = StoredTextToCp1251(rows.Text(4));
    reading->running_time_minute = rows.Int(5);
    return reading;
}

}  // namespace

InsertReadingResult CDeviceWaterModel::InsertReading(const CDataWater& reading,
                                                     CExecuteResult* outcome) {
    const auto text = [](const auto& field) { return Cp1251ToUtf8(field.view()); };
    return StoreReading(FormatStatement(Table().insertReading, reading.devid, text(reading.date),
                                        text(reading.v), text(reading.v_flow), text(reading.bat),
                                        reading.running_time_minute, text(reading.v_reverse)),
                        reading.devid, reading.date.c_str(), outcome);
}

std::unique_ptr<CArrayDataWater> CDeviceWaterModel::GetReadings(int devid, std::string_view from,
                                                                std::string_view to) {
    if (devid == 0) return std::make_unique<CArrayDataWater>();
    return ReadList<CDataWater>(Database(), ReadingsStatement(devid, from, to), ReadWaterReading);
}
