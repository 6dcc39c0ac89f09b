#pragma once

#include <functional>
#include <string>

#include "app/toolkit/Thread.h"
#include "archive/ArchiveGrid.h"
#include "archive/Excel.h"

// One export of an archive grid's copy into a new workbook (see ExportGrid), on a thread of its
// own; started with StartFreeThread, it frees itself once done. What shows is the spreadsheet
// program, or the wrapper's message; `ended`, when given, runs on the user-interface thread
// once the export is over.
class ThreadHeatArchiveListExportExcel : public TThread {
public:
    ThreadHeatArchiveListExportExcel(CArchiveGrid grid, std::string buildingLabel,
                                     CExportPlace place, ExcelMessageHandler messages,
                                     std::function<void()> ended = {});

protected:
    void Execute() override;

private:
    CArchiveGrid grid_;
    std::string buildingLabel_;
    CExportPlace place_;
    ExcelMessageHandler messages_;
    std::function<void()> ended_;
};
