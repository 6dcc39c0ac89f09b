#include "database/models/MeteringModel.h"

#include "Utils/TextConversion.h"
#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "database/Statement.h"
#include "database/models/ModelRows.h"

namespace {

// Formatted with first day, last day and bid. The reports read the daily maxima kept beside
// the readings (database/DailyMaxima.h), so a range of whole days compares days: every reading
// of the first and the last day counts, whether it is dated to the minute or to the second.
constexpr const char* kHeatArchive =
    "select devices_heat.serial, app.no, max(heat_data_daily.date) as `date`, "
    "max(heat_data_daily.q_cooling) as `q_cooling`, max(heat_data_daily.q) as `q`, "
    "max(heat_data_daily.v) as `v`, max(heat_data_daily.t1) as `t1`, "
    "max(heat_data_daily.t2) as `t2`, max(heat_data_daily.dt) as `dt` from devices_heat left "
    "join app on app.aid = devices_heat.aid left join heat_data_daily on "
    "heat_data_daily.devid = devices_heat.devid where heat_data_daily.day >= '%s' "
    "AND heat_data_daily.day <= '%s' AND app.bid = %i group by devices_heat.devid; ";
constexpr const char* kWaterColdArchive =
    "select devices_water_cold.serial, app.no, max(water_cold_data_daily.date) as `date`, "
    "max(water_cold_data_daily.v) as `v`, max(water_cold_data_daily.v_flow) as `v_flow`, "
    "max(water_cold_data_daily.bat) as `bat`, max(water_cold_data_daily.running_time_minute) "
    "as `running_time_minute`, max(water_cold_data_daily.v_reverse) as `v_reverse` from "
    "devices_water_cold left join app on app.aid = devices_water_cold.aid left join "
    "water_cold_data_daily on water_cold_data_daily.devid = devices_water_cold.devid where "
    "water_cold_data_daily.day >= '%s' AND water_cold_data_daily.day <= '%s' AND app.bid = %i "
    "group by devices_water_cold.devid; ";
constexpr const char* kWaterHotArchive =
    "select devices_water_hot.serial, app.no, max(water_hot_data_daily.date) as `date`, "
    "max(water_hot_data_daily.v) as `v`, max(water_hot_data_daily.v_flow) as `v_flow`, "
    "max(water_hot_data_daily.bat) as `bat`, max(water_hot_data_daily.running_time_minute) "
    "as `running_time_minute`, max(water_hot_data_daily.v_reverse) as `v_reverse` from "
    "devices_water_hot left join app on app.aid = devices_water_hot.aid left join "
    "water_hot_data_daily on water_hot_data_daily.devid = devices_water_hot.devid where "
    "water_hot_data_daily.day >= '%s' AND water_hot_data_daily.day <= '%s' AND app.bid = %i "
    "group by devices_water_hot.devid;  ";

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
