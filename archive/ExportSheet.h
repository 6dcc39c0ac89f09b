#pragma once

#include <string>

#include "archive/ArchiveGrid.h"

class CExcel;

enum class ExportResult {
    Shown,        // written, and opened when the place names an opener
    NotOpened,    // the export folder could not be made or written
    WriteFailed,  // a cell could not be written; nothing was saved
    NotShown,     // the file could not be written or opened
};

// The report sheet of a grid: "Адреса:" and the building label in row 1, the title in row 2,
// the grid from row 4 with a numbering column before it, then Show. Each failure has been
// reported through the wrapper's handler.
ExportResult ExportGrid(const CArchiveGrid& grid, const std::string& buildingLabel, CExcel& excel);
