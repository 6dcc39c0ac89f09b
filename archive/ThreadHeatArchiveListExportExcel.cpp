#include "archive/ThreadHeatArchiveListExportExcel.h"

#include <pthread.h>

#include <exception>
#include <utility>

#include "archive/ExportSheet.h"

namespace {
// The thread name a debugger shows; the kernel keeps 15 characters.
constexpr const char* kThreadName = "ArchiveExport";
}  // namespace

ThreadHeatArchiveListExportExcel::ThreadHeatArchiveListExportExcel(CArchiveGrid grid,
                                                                   std::string buildingLabel,
                                                                   CExportPlace place,
                                                                   ExcelMessageHandler messages,
                                                                   std::function<void()> ended)
    : grid_(std::move(grid)),
      buildingLabel_(std::move(buildingLabel)),
      place_(std::move(place)),
      messages_(std::move(messages)),
      ended_(std::move(ended)) {}

void ThreadHeatArchiveListExportExcel::Execute() {
    pthread_setname_np(pthread_self(), kThreadName);
    // An error leaving a thread ends the whole program; running out of memory on a huge grid
    // is told as a sheet that could not be shown.
    try {
        CExcel excel(place_, messages_);
        ExportGrid(grid_, buildingLabel_, excel);
    } catch (const std::exception&) {
        if (messages_) messages_("Ошибка при показе Excel", ExcelMessageKind::Plain);
    }
    if (ended_) Synchronize(ended_);
}
