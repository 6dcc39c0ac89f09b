#include "directory/ImportDialogs.h"

#include <QApplication>

#include "app/toolkit/FileDialogs.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/Thread.h"
#include "directory/import/ImportSummary.h"
#include "directory/import/TemplateCopy.h"

namespace {
// A file read with nothing to remark informs; remarks warn; a file not read is an error.
unsigned IconOf(const CImportResult& result) {
    if (result.outcome != ImportOutcome::Read) return MB_ICONERROR;
    return result.notes.empty() ? MB_ICONINFORMATION : MB_ICONWARNING;
}

// One import off the user-interface thread, so that a large file does not freeze the window.
class ThreadImportFile : public TThread {
public:
    explicit ThreadImportFile(std::function<CImportResult()> import) : import_(std::move(import)) {}

    CImportResult Result;

protected:
    void Execute() override { Result = import_(); }

private:
    std::function<CImportResult()> import_;
};

// The window repaints meanwhile but takes no input: nothing else may write to local.db while
// the import's transaction is open, since every statement of the connection would join it.
CImportResult ImportWithBusyCursor(const std::function<CImportResult()>& import) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto thread = TThread::StartThread<ThreadImportFile>(import);
    thread->WaitFor();
    QApplication::restoreOverrideCursor();
    return thread->Result;
}
}  // namespace

bool ImportChosenFile(const std::function<CImportResult(const std::string& path)>& import) {
    const std::string path = OpenFileDialog();
    if (path.empty()) return false;
    const CImportResult result = ImportWithBusyCursor([&] { return import(path); });
    const bool failed = result.outcome != ImportOutcome::Read;
    ShowMessageBox(ImportSummaryText(result, path), failed ? "Помилка" : "", IconOf(result));
    return true;
}

void SaveExampleFile(const std::string& proposedName, const std::string& source) {
    const std::string chosen = SaveFileDialog(proposedName, "*.csv");
    if (!chosen.empty()) CopyTemplate(source, chosen);
}
