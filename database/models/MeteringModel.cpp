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
// The inner statement is the report of the latest date and the maxima, which also gives the
// meter and its earliest date in the range; the counter at the earliest and the latest reading
// is then found through the readings' (date, devid) index.
constexpr const char* kHeatArchive =
    "select report.serial, report.no, report.date, report.q_cooling, report.q, report.v, "
    "report.t1, report.t2, report.dt, report.first_date, earliest.q, latest.q from ("
    "select devices_heat.serial, app.no, max(heat_data_daily.date) as `date`, "
    "max(heat_data_daily.q_cooling) as `q_cooling`, max(heat_data_daily.q) as `q`, "
    "max(heat_data_daily.v) as `v`, max(heat_data_daily.t1) as `t1`, "
    "max(heat_data_daily.t2) as `t2`, max(heat_data_daily.dt) as `dt`, "
    "devices_heat.devid as `devid`, min(heat_data_daily.first_date) as `first_date` from "
    "devices_heat left join app on app.aid = devices_heat.aid left join heat_data_daily on "
    "heat_data_daily.devid = devices_heat.devid where heat_data_daily.day >= '%s' "
    "AND heat_data_daily.day <= '%s' AND app.bid = %i group by devices_heat.devid) as report "
    "left join heat_data_current as earliest on earliest.date = report.first_date and "
    "earliest.devid = report.devid left join heat_data_current as latest on latest.date = "
    "report.date and latest.devid = report.devid; ";
constexpr const char* kWaterColdArchive =
    "select report.serial, report.no, report.date, report.v, report.v_flow, report.bat, "
    "report.running_time_minute, report.v_reverse, report.first_date, earliest.v, latest.v "
    "from (select devices_water_cold.serial, app.no, max(water_cold_data_daily.date) as `date`, "
    "max(water_cold_data_daily.v) as `v`, max(water_cold_data_daily.v_flow) as `v_flow`, "
    "max(water_cold_data_daily.bat) as `bat`, max(water_cold_data_daily.running_time_minute) "
    "as `running_time_minute`, max(water_cold_data_daily.v_reverse) as `v_reverse`, "
    "devices_water_cold.devid as `devid`, min(water_cold_data_daily.first_date) as "
    "`first_date` from devices_water_cold left join app on app.aid = devices_water_cold.aid "
    "left join water_cold_data_daily on water_cold_data_daily.devid = devices_water_cold.devid "
    "where water_cold_data_daily.day >= '%s' AND water_cold_data_daily.day <= '%s' AND "
    "app.bid = %i group by devices_water_cold.devid) as report left join "
    "water_cold_data_current as earliest on earliest.date = report.first_date and "
    "earliest.devid = report.devid left join water_cold_data_current as latest on "
    "latest.date = report.date and latest.devid = report.devid; ";
constexpr const char* kWaterHotArchive =
    "select report.serial, report.no, report.date, report.v, report.v_flow, report.bat, "
    "report.running_time_minute, report.v_reverse, report.first_date, earliest.v, latest.v "
    "from (select devices_water_hot.serial, app.no, max(water_hot_data_daily.date) as `date`, "
    "max(water_hot_data_daily.v) as `v`, max(water_hot_data_daily.v_flow) as `v_flow`, "
    "max(water_hot_data_daily.bat) as `bat`, max(water_hot_data_daily.running_time_minute) "
    "as `running_time_minute`, max(water_hot_data_daily.v_reverse) as `v_reverse`, "
    "devices_water_hot.devid as `devid`, min(water_hot_data_daily.first_date) as "
    "`first_date` from devices_water_hot left join app on app.aid = devices_water_hot.aid "
    "left join water_hot_data_daily on water_hot_data_daily.devid = devices_water_hot.devid "
    "where water_hot_data_daily.day >= '%s' AND water_hot_data_daily.day <= '%s' AND "
    "app.bid = %i group by devices_water_hot.devid) as report left join "
    "water_hot_data_current as earliest on earliest.date = report.first_date and "
    "earliest.devid = report.devid left join water_hot_data_current as latest on "
    "latest.date = report.date and latest.devid = report.devid; ";

// The meters of the kind bound to an apartment of building bid with no reading in the days;
// formatted with first day, last day and bid, as the reports are.
constexpr const char* kHeatSilent =
    "select devices_heat.serial, app.no from devices_heat join app on app.aid = "
    "devices_heat.aid where not exists (select 1 from heat_data_daily where "
    "heat_data_daily.devid = devices_heat.devid and heat_data_daily.day >= '%s' and "
    "heat_data_daily.day <= '%s') and app.bid = %i order by devices_heat.devid; ";
constexpr const char* kWaterColdSilent =
    "select devices_water_cold.serial, app.no from devices_water_cold join app on app.aid = "
    "devices_water_cold.aid where not exists (select 1 from water_cold_data_daily where "
    "water_cold_data_daily.devid = devices_water_cold.devid and water_cold_data_daily.day >= "
    "'%s' and water_cold_data_daily.day <= '%s') and app.bid = %i order by "
    "devices_water_cold.devid; ";
constexpr const char* kWaterHotSilent =
    "select devices_water_hot.serial, app.no from devices_water_hot join app on app.aid = "
    "devices_water_hot.aid where not exists (select 1 from water_hot_data_daily where "
    "water_hot_data_daily.devid = devices_water_hot.devid and water_hot_data_daily.day >= "
    "'%s' and water_hot_data_daily.day <= '%s') and app.bid = %i order by "
    "devices_water_hot.devid; ";

std::unique_ptr<CDataHeatArchive> ReadHeatArchiveRow(const CQueryRows& rows) {
    auto row = std::make_unique<CDataHeatArchive>();
    row->CDataHeat::serial = rows.Int(0);
    row->CDataObject::no = StoredTextToCp1251(rows.Text(1));
    row->date = StoredTextToCp1251(rows.Text(2));
    row->max_q_cooling = rows.Number(3);
    row->max_q = rows.Number(4);
    row->max_v = rows.Number(5);
    row->max_t1 = rows.Number(6);
    row->max_t2 = rows.Number(7);
    row->max_dt = rows.Number(8);
    row->first_date = StoredTextToCp1251(rows.Text(9));
    row->first_q = rows.Number(10);
    row->last_q = rows.Number(11);
    return row;
}

std::unique_ptr<CDataWaterArchive> ReadWaterArchiveRow(const CQueryRows& rows) {
    auto row = std::make_unique<CDataWaterArchive>();
    row->CDataWater::serial = rows.Int(0);
    row->CDataObject::no = StoredTextToCp1251(rows.Text(1));
    row->date = StoredTextToCp1251(rows.Text(2));
    row->max_v = rows.Number(3);
    row->max_v_flow = rows.Number(4);
    row->max_bat = rows.Number(5);
    row->running_time_minute = rows.Int(6);
    row->max_v_reverse = rows.Number(7);
    row->first_date = StoredTextToCp1251(rows.Text(8));
    row->first_v = rows.Number(9);
    row->last_v = rows.Number(10);
    return row;
}

// A meter without readings: its serial and apartment number alone.
template <class Row, class Reading>
std::unique_ptr<Row> ReadSilentRow(const CQueryRows& rows) {
    auto row = std::make_unique<Row>();
    row->Reading::serial = rows.Int(0);
    row->CDataObject::no = StoredTextToCp1251(rows.Text(1));
    return row;
}

template <class Row, class ReadRow>
std::unique_ptr<COwningArray<Row>> ReadArchive(CSQLite3& database, const char* format, int bid,
                                               std::string_view firstDay, std::string_view lastDay,
                                               ReadRow readRow, CReadFailure* failure) {
    return ReadList<Row>(
        database, FormatStatement(format, Cp1251ToUtf8(firstDay), Cp1251ToUtf8(lastDay), bid),
        readRow, failure);
}

}  // namespace

CSQLite3& CMeteringModel::Database() {
    return controller_.Database;
}

std::unique_ptr<CArrayDataHeatArchive> CMeteringModel::GetHeatArchive(int bid,
                                                                      std::string_view firstDay,
                                                                      std::string_view lastDay,
                                                                      CReadFailure* failure) {
    return ReadArchive<CDataHeatArchive>(Database(), kHeatArchive, bid, firstDay, lastDay,
                                         ReadHeatArchiveRow, failure);
}

std::unique_ptr<CArrayDataWaterArchive> CMeteringModel::GetWaterColdArchive(
    int bid, std::string_view firstDay, std::string_view lastDay, CReadFailure* failure) {
    return ReadArchive<CDataWaterArchive>(Database(), kWaterColdArchive, bid, firstDay, lastDay,
                                          ReadWaterArchiveRow, failure);
}

std::unique_ptr<CArrayDataWaterArchive> CMeteringModel::GetWaterHotArchive(
    int bid, std::string_view firstDay, std::string_view lastDay, CReadFailure* failure) {
    return ReadArchive<CDataWaterArchive>(Database(), kWaterHotArchive, bid, firstDay, lastDay,
                                          ReadWaterArchiveRow, failure);
}

std::unique_ptr<CArrayDataHeatArchive> CMeteringModel::GetHeatSilent(int bid,
                                                                     std::string_view firstDay,
                                                                     std::string_view lastDay,
                                                                     CReadFailure* failure) {
    return ReadArchive<CDataHeatArchive>(Database(), kHeatSilent, bid, firstDay, lastDay,
                                         ReadSilentRow<CDataHeatArchive, CDataHeat>, failure);
}

std::unique_ptr<CArrayDataWaterArchive> CMeteringModel::GetWaterColdSilent(
    int bid, std::string_view firstDay, std::string_view lastDay, CReadFailure* failure) {
    return ReadArchive<CDataWaterArchive>(Database(), kWaterColdSilent, bid, firstDay, lastDay,
                                          ReadSilentRow<CDataWaterArchive, CDataWater>, failure);
}

std::unique_ptr<CArrayDataWaterArchive> CMeteringModel::GetWaterHotSilent(int bid,
                                                                          std::string_view firstDay,
                                                                          std::string_view lastDay,
                                                                          CReadFailure* failure) {
    return ReadArchive<CDataWaterArchive>(Database(), kWaterHotSilent, bid, firstDay, lastDay,
                                          ReadSilentRow<CDataWaterArchive, CDataWater>, failure);
}
