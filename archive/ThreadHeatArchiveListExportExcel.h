#pragma once

#include <string>

#include "app/toolkit/Thread.h"
#include "archive/ArchiveGrid.h"
#include "archive/Excel.h"

// One export of an archive grid's copy into a new workbook (see ExportGrid), on a thread of its
// own; started with StartFreeThread, it frees itself once done and tells nobody: what shows
// is the spreadsheet program, or the wrapper's message.
class ThreadHeatArchiveListExportExcel : public TThread {
public:
    ThreadHeatArchiveListExportExcel(CArchiveGrid grid, std::string buildingLabel,
                                     CExportPlace place, ExcelMessageHandler messages);

protected:
    void Execute() override;

private:
    CArchiveGrid grid_;
    std::string buildingLabel_;
    CExportPlace place_;
    ExcelMessageHandler messages_;
};
