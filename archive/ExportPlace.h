#pragma once

#include <string>
#include <string_view>

#include "archive/DesktopOpener.h"

// Where a workbook goes and what is done with it once written.
struct CExportPlace {
    std::string folder;
    std::string fileName;  // ".xlsx" included
    // A name already taken gets " (2)", " (3)", ... before its extension; else it is refused.
    bool numberIfTaken = true;
    // The program that shows the written file (see OpenInDesktop); empty: it is not shown.
    std::string opener = kDesktopOpener;
};

// The file name of a report: title, building and date range joined by " - ", with every
// character that cannot stand in a file name replaced by "_", and ".xlsx".
std::string ReportFileName(std::string_view title, std::string_view building,
                           std::string_view firstDay, std::string_view lastDay);
// `name` with " (n)" before its extension, for n from 2 on.
std::string NumberedFileName(std::string_view name, int n);
