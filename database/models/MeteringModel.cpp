#include "database/models/MeteringModel.h"

#include "Utils/TextConversion.h"
#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "database/Statement.h"
#include "database/models/ModelRows.h"

namespace {

// Formatted with first day, last day and bid. The range starts at the first day's "00:00":
// heat readings are dated to the minute, and "yyyy-mm-dd 00:00" sorts before "... 00:00:00",
// so a bound with seconds would drop a heat reading taken at midnight of the first day.
constexpr const char* kHeatArchive =
    "select devices_heat.serial, app.no, max(heat_data_current.date) as `date`, "
    "max(heat_data_current.q_cooling) as `q_cooling`, max(heat_data_current.q) as `q`, "
    "max(heat_data_current.v) as `v`, max(heat_data_current.t1) as `t1`, "
    "max(heat_data_current.t2) as `t2`, max(heat_data_current.dt) as `dt` from devices_heat left "
    "join app on app.aid = devices_heat.aid left join heat_data_current on "
    "heat_data_current.devid = devices_heat.devid where heat_data_current.date >= '%s 00:00' "
    "AND heat_data_current.date <= '%s 23:59:59' AND app.bid = %i group by devices_heat.devid; ";
constexpr const char* kWaterColdArchive =
    "select devices_water_cold.serial, app.no, max(water_cold_data_current.date) as `date`, "
    "max(water_cold_data_current.v) as `v`, max(water_cold_data_current.v_flow) as `v_flow`, "
    "max(water_cold_data_current.bat) as `bat`, max(water_cold_data_current.running_time_minute) "
    "as `running_time_minute`, max(water_cold_data_current.v_reverse) as `v_reverse` from "
    "devices_water_cold left join app on app.aid = devices_water_cold.aid left join "
    "water_cold_data_current on water_cold_data_current.devid = devices_water_cold.devid where "
    "water_cold_data_current.date >= '%s 00:00' AND water_cold_data_current.date <= '%s "
    "23:59:59' AND app.bid = %i group by devices_water_cold.devid; ";
constexpr const char* kWaterHotArchive =
    "select devices_water_hot.serial, app.no, max(water_hot_data_current.date) as `date`, "
    "max(water_hot_data_current.v) as `v`, max(water_hot_data_current.v_flow) as `v_flow`, "
    "max(water_hot_data_current.bat) as `bat`, max(water_hot_data_current.running_time_minute) "
    "as `running_time_minute`, max(water_hot_data_current.v_reverse) as `v_reverse` from "
    "devices_water_hot left join app on app.aid = devices_water_hot.aid left join "
    "water_hot_data_current on water_hot_data_current.devid = devices_water_hot.devid where "
    "water_hot_data_current.date >= '%s 00:00' AND water_hot_data_current.date <= '%s "
    "23:59:59' AND app.bid = %i group by devices_water_hot.devid;  ";

std::unique_ptr<CDataHeatArchive> ReadHeatArchiveRow(const CQueryRows& rows) {
    auto row = std::make_unique<CDataHeatArchive>();
    row->CDataHeat::serial = rows.Int(0);
    row->CDataObject::no = StoredTextToCp1251(rows.Text(1));
    row->date = StoredTextToCp1251(rows.Text(2));
    row->q_cooling = StoredTextToCp1251(rows.Text(3));
    row->q = StoredTextToCp1251(rows.Text(4));
    row->v = StoredTextToCp1251(rows.Text(5));
    row->t1 = StoredTextToCp1251(rows.Text(6));
    row->t2 = StoredTextToCp1251(rows.Text(7));
    row->dt = StoredTextToCp1251(rows.Text(8));
    return row;
}

std::unique_ptr<CDataWaterArchive> ReadWaterArchiveRow(const CQueryRows& rows) {
    auto row = std::make_unique<CDataWaterArchive>();
    row->CDataWater::serial = rows.Int(0);
    row->CDataObject::no = StoredTextToCp1251(rows.Text(1));
    row->date = StoredTextToCp1251(rows.Text(2));
    row->v = StoredTextToCp1251(rows.Text(3));
    row->v_flow = StoredTextToCp1251(rows.Text(4));
    row->bat = StoredTextToCp1251(rows.Text(5));
    row->running_time_minute = rows.Int(6);
    row->v_reverse = StoredTextToCp1251(rows.Text(7));
    return row;
}

std::unique_ptr<CArrayDataWaterArchive> ReadWaterArchive(CSQLite3& database, const char* format,
                                                         int bid, std::string_view firstDay,
                                                         std::string_view lastDay) {
    return ReadList<CDataWaterArchive>(
        database, FormatStatement(format, Cp1251ToUtf8(firstDay), Cp1251ToUtf8(lastDay), bid),
        ReadWaterArchiveRow);
}

}  // namespace

CSQLite3& CMeteringModel::Database() {
    return controller_.Database;
}

std::unique_ptr<CArrayDataHeatArchive> CMeteringModel::GetHeatArchive(int bid,
                                                                      std::string_view firstDay,
                                                                      std::string_view lastDay) {
    return ReadList<CDataHeatArchive>(
        Database(),
        FormatStatement(kHeatArchive, Cp1251ToUtf8(firstDay), Cp1251ToUtf8(lastDay), bid),
        ReadHeatArchiveRow);
}

std::unique_ptr<CArrayDataWaterArchive> CMeteringModel::GetWaterColdArchive(
    int bid, std::string_view firstDay, std::string_view lastDay) {
    return ReadWaterArchive(Database(), kWaterColdArchive, bid, firstDay, lastDay);
}

std::unique_ptr<CArrayDataWaterArchive> CMeteringModel::GetWaterHotArchive(
    int bid, std::string_view firstDay, std::string_view lastDay) {
    return ReadWaterArchive(Database(), kWaterHotArchive, bid, firstDay, lastDay);
}
