#include "archive/ArchiveGrid.h"

namespace {
const std::vector<const char*> kHeatTitles = {
    "Серійний номер",  "Номер приміщення", "Дата/час", "Q cooling, kWh",
    "Q cooling, Gcal", "Q, kWh",           "Q, Gcal",  "V, m3",
    "T1, °C",          "T2, °C",           "DT, °C",
};
const std::vector<const char*> kWaterTitles = {
    "Серійний номер", "Номер приміщення", "Дата/час",    "V, m3",
    "V Flow, m3/h",   "Bat, v",           "Run time, h", "V Reverse",
};

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
}  // namespace

int CArchiveGrid::AddRow() {
    cells.resize(cells.size() + static_cast<std::size_t>(colCount));
    return rowCount++;
}

CArchiveGrid TitleGrid(ArchiveKind kind) {
    const auto& titles = kind == ArchiveKind::Heat ? kHeatTitles : kWaterTitles;
    CArchiveGrid grid;
    grid.name = GridName(kind);
    grid.colCount = static_cast<int>(titles.size());
    grid.AddRow();
    for (int col = 0; col < grid.colCount; ++col) grid.SetCell(col, 0, titles[col]);
    return grid;
}

std::string ReportTitle(const std::string& gridName) {
    if (gridName == "StringGridHeat") return "Відомості обліку теплової енергії";
    if (gridName == "StringGridWaterCold") return "Відомості обліку холодної води";
    if (gridName == "StringGridWaterHot") return "Відомості обліку гарячої води";
    return {};
}
