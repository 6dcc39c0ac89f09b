#include "archive/ArchiveReport.h"

#include "Utils/Decimal.h"
#include "Utils/Format.h"
#include "Utils/TextConversion.h"
#include "database/SQLite3Controller.h"

namespace {
constexpr double kGcalPerKwh = 0.00086042078063229794;

// Record texts are Windows-1251; the grid holds UTF-8.
std::string Shown(std::string_view text) {
    return Cp1251ToUtf8(text);
}

void AddHeatRows(CSQLite3Controller& database, int bid, std::string_view firstDay,
                 std::string_view lastDay, CArchiveGrid& grid) {
    const auto report = database.MeteringModel.GetHeatArchive(bid, firstDay, lastDay);
    if (report == nullptr) return;
    for (const auto& row : *report) {
        const int r = grid.AddRow();
        grid.SetCell(0, r, Format("%i", row->CDataHeat::serial));
        grid.SetCell(1, r, Shown(row->CDataObject::no.view()));
        grid.SetCell(2, r, Shown(row->date.view()));
        grid.SetCell(3, r, Shown(row->q_cooling.view()));
        grid.SetCell(4, r, KwhToGcal(row->q_cooling.view()));
        grid.SetCell(5, r, Shown(row->q.view()));
        grid.SetCell(6, r, KwhToGcal(row->q.view()));
        grid.SetCell(7, r, Shown(row->v.view()));
        grid.SetCell(8, r, Shown(row->t1.view()));
        grid.SetCell(9, r, Shown(row->t2.view()));
        grid.SetCell(10, r, Shown(row->dt.view()));
    }
}

void AddWaterRows(CSQLite3Controller& database, ArchiveKind kind, int bid,
                  std::string_view firstDay, std::string_view lastDay, CArchiveGrid& grid) {
    auto& model = database.MeteringModel;
    const auto report = kind == ArchiveKind::WaterCold
                            ? model.GetWaterColdArchive(bid, firstDay, lastDay)
                            : model.GetWaterHotArchive(bid, firstDay, lastDay);
    if (report == nullptr) return;
    for (const auto& row : *report) {
        const int r = grid.AddRow();
        grid.SetCell(0, r, Format("%i", row->CDataWater::serial));
        grid.SetCell(1, r, Shown(row->CDataObject::no.view()));
        grid.SetCell(2, r, Shown(row->date.view()));
        grid.SetCell(3, r, Shown(row->v.view()));
        grid.SetCell(4, r, Shown(row->v_flow.view()));
        grid.SetCell(5, r, Shown(row->bat.view()));
        grid.SetCell(6, r, Format("%i", row->running_time_minute));
        grid.SetCell(7, r, Shown(row->v_reverse.view()));
    }
}
}  // namespace

CArchiveGrid ArchiveReport(CSQLite3Controller& database, ArchiveKind kind, int bid,
                           std::string_view firstDay, std::string_view lastDay) {
    CArchiveGrid grid = TitleGrid(kind);
    if (kind == ArchiveKind::Heat) {
        AddHeatRows(database, bid, firstDay, lastDay, grid);
    } else {
        AddWaterRows(database, kind, bid, firstDay, lastDay, grid);
    }
    return grid;
}

std::string KwhToGcal(std::string_view kwh) {
    return Format("%0.3f", ParseDecimal(kwh) * kGcalPerKwh);
}

std::string DayText(unsigned year, unsigned month, unsigned day) {
    return Format("%04u-%02u-%02u", year, month, day);
}

std::string BuildingLabel(const CDataObject& building) {
    return Shown(building.street.view()) + " " + Shown(building.no.view());
}
