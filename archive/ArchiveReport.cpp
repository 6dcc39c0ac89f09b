#include "archive/ArchiveReport.h"

#include <memory>
#include <vector>

#include "Utils/Format.h"
#include "Utils/TextConversion.h"
#include "database/SQLite3Controller.h"

namespace {
constexpr double kGcalPerKwh = 0.00086042078063229794;

// Record texts are Windows-1251; the grid holds UTF-8.
std::string Shown(std::string_view text) {
    return Cp1251ToUtf8(text);
}

CStoredNumber Gcal(CStoredNumber kwh) {
    if (!kwh) return std::nullopt;
    return *kwh * kGcalPerKwh;
}

// What a meter consumed in the range: its counter at the latest reading less that at the
// earliest.
CStoredNumber Consumed(CStoredNumber first, CStoredNumber last) {
    if (!first || !last) return std::nullopt;
    return *last - *first;
}

// Writes the cells of one row, each formatted as its column says; cells of columns the grid
// does not carry are left out. It adds each consumption to the totals.
class CRowWriter {
public:
    CRowWriter(CArchiveGrid& grid, int row, std::vector<double>& totals)
        : grid_(grid), row_(row), columns_(ArchiveColumns(grid.kind)), totals_(totals) {}

    void Text(int col, std::string text) {
        if (col < grid_.colCount) grid_.SetCell(col, row_, std::move(text));
    }
    // The first three columns: the meter's serial, its apartment's number, and the date.
    void Meter(int serial, const CDataObject& apartment, std::string date) {
        Text(0, Format("%i", serial));
        Text(1, Shown(apartment.no.view()));
        Text(2, std::move(date));
    }
    void Number(int col, CStoredNumber value) {
        if (value) Text(col, Formatted(col, *value));
    }
    // A counter that went backwards is marked, and counts in no total.
    void Consumption(int col, CStoredNumber consumed) {
        if (!consumed) return;
        if (*consumed < 0) {
            Text(col, Formatted(col, *consumed) + kBackwardsMark);
            return;
        }
        Number(col, consumed);
        if (col < grid_.colCount) totals_[static_cast<std::size_t>(col)] += *consumed;
    }

private:
    std::string Formatted(int col, double value) const {
        return Format("%.*f", columns_[static_cast<std::size_t>(col)].decimals, value);
    }

    CArchiveGrid& grid_;
    int row_;
    std::span<const CArchiveColumn> columns_;
    std::vector<double>& totals_;
};

void AddRow(CArchiveGrid& grid, std::vector<double>& totals, const CDataHeatArchive& row) {
    CRowWriter w(grid, grid.AddRow(ArchiveRow::Readings), totals);
    w.Meter(row.CDataHeat::serial, row, Shown(row.date.view()));
    w.Number(3, row.max_q_cooling);
    w.Number(4, Gcal(row.max_q_cooling));
    w.Number(5, row.max_q);
    w.Number(6, Gcal(row.max_q));
    w.Number(7, row.max_v);
    w.Number(8, row.max_t1);
    w.Number(9, row.max_t2);
    w.Number(10, row.max_dt);
    w.Text(11, Shown(row.first_date.view()));
    w.Number(12, row.first_q);
    const CStoredNumber consumed = Consumed(row.first_q, row.last_q);
    w.Consumption(13, consumed);
    w.Consumption(14, Gcal(consumed));
}

void AddRow(CArchiveGrid& grid, std::vector<double>& totals, const CDataWaterArchive& row) {
    CRowWriter w(grid, grid.AddRow(ArchiveRow::Readings), totals);
    w.Meter(row.CDataWater::serial, row, Shown(row.date.view()));
    w.Number(3, row.max_v);
    w.Number(4, row.max_v_flow);
    w.Number(5, row.max_bat);
    w.Text(6, Format("%i", row.running_time_minute));
    w.Number(7, row.max_v_reverse);
    w.Text(8, Shown(row.first_date.view()));
    w.Number(9, row.first_v);
    w.Consumption(10, Consumed(row.first_v, row.last_v));
}

template <class Row, class Reading>
void AddSilentRow(CArchiveGrid& grid, std::vector<double>& totals, const Row& row) {
    CRowWriter w(grid, grid.AddRow(ArchiveRow::NoReadings), totals);
    w.Meter(row.Reading::serial, row, kNoReadings);
}

void AddTotals(CArchiveGrid& grid, std::vector<double>& totals) {
    const auto columns = ArchiveColumns(grid.kind);
    CRowWriter w(grid, grid.AddRow(ArchiveRow::Totals), totals);
    w.Text(0, kTotals);
    for (int col = 0; col < grid.colCount; ++col) {
        if (columns[static_cast<std::size_t>(col)].summed)
            w.Number(col, totals[static_cast<std::size_t>(col)]);
    }
}

// The report's lists of one kind, in the order they are asked for.
template <class Row>
struct CLists {
    std::unique_ptr<COwningArray<Row>> readings;
    std::unique_ptr<COwningArray<Row>> silent;
};

CLists<CDataHeatArchive> HeatLists(CMeteringModel& model, const CArchiveRequest& r,
                                   CReadFailure& failure) {
    CLists<CDataHeatArchive> lists;
    lists.readings = model.GetHeatArchive(r.bid, r.firstDay, r.lastDay, &failure);
    if (lists.readings != nullptr && r.withoutReadings)
        lists.silent = model.GetHeatSilent(r.bid, r.firstDay, r.lastDay, &failure);
    return lists;
}

CLists<CDataWaterArchive> WaterLists(CMeteringModel& model, const CArchiveRequest& r,
                                     CReadFailure& failure) {
    const bool cold = r.kind == ArchiveKind::WaterCold;
    CLists<CDataWaterArchive> lists;
    lists.readings = cold ? model.GetWaterColdArchive(r.bid, r.firstDay, r.lastDay, &failure)
                          : model.GetWaterHotArchive(r.bid, r.firstDay, r.lastDay, &failure);
    if (lists.readings != nullptr && r.withoutReadings) {
        lists.silent = cold ? model.GetWaterColdSilent(r.bid, r.firstDay, r.lastDay, &failure)
                            : model.GetWaterHotSilent(r.bid, r.firstDay, r.lastDay, &failure);
    }
    return lists;
}

template <class Reading, class Row>
CArchiveReport Report(const CArchiveRequest& request, const CLists<Row>& lists,
                      CReadFailure& failure) {
    CArchiveReport report{TitleGrid(request.kind, request.consumption), std::nullopt};
    if (lists.readings == nullptr || (request.withoutReadings && lists.silent == nullptr)) {
        report.failure = std::move(failure);
        return report;
    }
    CArchiveGrid& grid = report.grid;
    std::vector<double> totals(static_cast<std::size_t>(grid.colCount));
    for (const auto& row : *lists.readings) AddRow(grid, totals, *row);
    const bool anyRead = grid.rowCount > 1;
    if (lists.silent != nullptr) {
        for (const auto& row : *lists.silent) AddSilentRow<Row, Reading>(grid, totals, *row);
    }
    if (request.consumption && anyRead) AddTotals(grid, totals);
    return report;
}
}  // namespace

CArchiveReport ArchiveReport(CSQLite3Controller& database, const CArchiveRequest& request) {
    CReadFailure failure;
    if (request.kind == ArchiveKind::Heat) {
        return Report<CDataHeat>(request, HeatLists(database.MeteringModel, request, failure),
                                 failure);
    }
    return Report<CDataWater>(request, WaterLists(database.MeteringModel, request, failure),
                              failure);
}

std::string DayText(unsigned year, unsigned month, unsigned day) {
    return Format("%04u-%02u-%02u", year, month, day);
}

std::string BuildingLabel(const CDataObject& building) {
    return Shown(building.street.view()) + " " + Shown(building.no.view());
}
