#include "archive/ArchiveGrid.h"

#include <algorithm>

#include "Utils/Decimal.h"

namespace {
using enum ArchiveValue;

// Decimals: energies, volumes and flows 3, temperatures and the battery 2, as the readings
// tables declare them; Gcal 3.
constexpr CArchiveColumn kHeatColumns[] = {
    {"Серійний номер", "serial", Integer, 0, false},
    {"Номер приміщення", "apartment", Text, 0, false},
    {"Дата/час", "date", DateTime, 0, false},
    {"Q cooling, kWh", "q_cooling_kwh", Decimal, 3, false},
    {"Q cooling, Gcal", "q_cooling_gcal", Decimal, 3, false},
    {"Q, kWh", "q_kwh", Decimal, 3, false},
    {"Q, Gcal", "q_gcal", Decimal, 3, false},
    {"V, m3", "v_m3", Decimal, 3, false},
    {"T1, °C", "t1_c", Decimal, 2, false},
    {"T2, °C", "t2_c", Decimal, 2, false},
    {"DT, °C", "dt_c", Decimal, 2, false},
    {"Початок: дата/час", "first_date", DateTime, 0, false},
    {"Початок: Q, kWh", "first_q_kwh", Decimal, 3, false},
    {"Спожито Q, kWh", "consumed_q_kwh", Decimal, 3, true},
    {"Спожито Q, Gcal", "consumed_q_gcal", Decimal, 3, true},
};
constexpr int kHeatReportColumns = 11;

constexpr CArchiveColumn kWaterColumns[] = {
    {"Серійний номер", "serial", Integer, 0, false},
    {"Номер приміщення", "apartment", Text, 0, false},
    {"Дата/час", "date", DateTime, 0, false},
    {"V, m3", "v_m3", Decimal, 3, false},
    {"V Flow, m3/h", "v_flow_m3h", Decimal, 3, false},
    {"Bat, v", "bat_v", Decimal, 2, false},
    {"Run time, h", "run_time", Integer, 0, false},
    {"V Reverse", "v_reverse_m3", Decimal, 3, false},
    {"Початок: дата/час", "first_date", DateTime, 0, false},
    {"Початок: V, m3", "first_v_m3", Decimal, 3, false},
    {"Спожито V, m3", "consumed_v_m3", Decimal, 3, true},
};
constexpr int kWaterReportColumns = 8;

const char* GridName(ArchiveKind kind) {
    switch (kind) {
        case ArchiveKind::Heat:
            return "StringGridHeat";
        case ArchiveKind::WaterCold:
            return "StringGridWaterCold";
        case ArchiveKind::WaterHot:
            return "StringGridWaterHot";
    }
    return "";
}

// The sort's order of what a row is; the meters' rows sort among their own kind only.
int Rank(ArchiveRow what) {
    return static_cast<int>(what);
}

// Apartment numbers as people count them: "2" before "10", "10" before "10а".
int CompareApartments(const std::string& a, const std::string& b) {
    const double na = ParseDecimal(a);
    const double nb = ParseDecimal(b);
    if (na != nb) return na < nb ? -1 : 1;
    return a.compare(b);
}

// <0, 0 or >0 as cell a sorts before, with or after cell b in ascending order.
int CompareCells(const CArchiveColumn& column, const std::string& a, const std::string& b) {
    switch (column.value) {
        case Integer:
        case Decimal: {
            // A consumption's mark follows its number.
            const double x = ParseDecimal(a);
            const double y = ParseDecimal(b);
            return x < y ? -1 : (y < x ? 1 : 0);
        }
        case Text:
            return CompareApartments(a, b);
        case DateTime:
            break;
    }
    return a.compare(b);
}
}  // namespace

int CArchiveGrid::AddRow(ArchiveRow what) {
    cells.resize(cells.size() + static_cast<std::size_t>(colCount));
    rows.push_back(what);
    return rowCount++;
}

bool CArchiveGrid::HasConsumption() const {
    return colCount > ReportColumnCount(kind);
}

std::span<const CArchiveColumn> ArchiveColumns(ArchiveKind kind) {
    if (kind == ArchiveKind::Heat) return kHeatColumns;
    return kWaterColumns;
}

int ReportColumnCount(ArchiveKind kind) {
    return kind == ArchiveKind::Heat ? kHeatReportColumns : kWaterReportColumns;
}

CArchiveGrid TitleGrid(ArchiveKind kind, bool consumption) {
    const auto columns = ArchiveColumns(kind);
    CArchiveGrid grid;
    grid.name = GridName(kind);
    grid.kind = kind;
    grid.colCount = consumption ? static_cast<int>(columns.size()) : ReportColumnCount(kind);
    grid.AddRow(ArchiveRow::Titles);
    for (int col = 0; col < grid.colCount; ++col) grid.SetCell(col, 0, columns[col].title);
    return grid;
}

CArchiveGrid WithoutConsumption(const CArchiveGrid& grid) {
    CArchiveGrid own = grid;
    own.colCount = std::min(grid.colCount, ReportColumnCount(grid.kind));
    own.rowCount = 0;
    own.cells.clear();
    own.rows.clear();
    for (int row = 0; row < grid.rowCount; ++row) {
        if (grid.rows[row] == ArchiveRow::Totals) continue;
        const int r = own.AddRow(grid.rows[row]);
        for (int col = 0; col < own.colCount; ++col) own.SetCell(col, r, grid.Cell(col, row));
    }
    return own;
}

std::string ReportTitle(const std::string& gridName) {
    if (gridName == "StringGridHeat") return "Відомості обліку теплової енергії";
    if (gridName == "StringGridWaterCold") return "Відомості обліку холодної води";
    if (gridName == "StringGridWaterHot") return "Відомості обліку гарячої води";
    return {};
}

bool IsMarkedBackwards(const std::string& cell) {
    return cell.ends_with(kBackwardsMark);
}

void SortArchiveGrid(CArchiveGrid& grid, int col, bool descending) {
    if (grid.rowCount < 2 || col < 0 || col >= grid.colCount) return;
    const CArchiveColumn& column = ArchiveColumns(grid.kind)[static_cast<std::size_t>(col)];
    std::vector<int> order(static_cast<std::size_t>(grid.rowCount - 1));
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i) + 1;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (grid.rows[a] != grid.rows[b]) return Rank(grid.rows[a]) < Rank(grid.rows[b]);
        const std::string& x = grid.Cell(col, a);
        const std::string& y = grid.Cell(col, b);
        if (x.empty() != y.empty()) return y.empty();
        const int order = CompareCells(column, x, y);
        return descending ? order > 0 : order < 0;
    });
    CArchiveGrid sorted = grid;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int from = order[i];
        const int to = static_cast<int>(i) + 1;
        sorted.rows[to] = grid.rows[from];
        for (int c = 0; c < grid.colCount; ++c) sorted.SetCell(c, to, grid.Cell(c, from));
    }
    grid = std::move(sorted);
}
