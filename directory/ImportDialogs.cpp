#include "directory/ImportDialogs.h"

#include "app/toolkit/FileDialogs.h"
#include "app/toolkit/MessageBox.h"
#include "directory/import/ImportSummary.h"
#include "directory/import/TemplateCopy.h"

namespace {
// A file read with nothing to remark informs; remarks warn; a file not read is an error.
unsigned IconOf(const CImportResult& result) {
    if (result.outcome != ImportOutcome::Read) return MB_ICONERROR;
    return result.notes.empty() ? MB_ICONINFORMATION : MB_ICONWARNING;
}
}  // namespace

bool ImportChosenFile(const std::function<CImportResult(const std::string& path)>& import) {
    const std::string path = OpenFileDialog();
    if (path.empty()) return false;
    const CImportResult result = import(path);
    const bool failed = result.outcome != ImportOutcome::Read;
    ShowMessageBox(ImportSummaryText(result, path), failed ? "Помилка" : "", IconOf(result));
    return true;
}

void SaveExampleFile(const std::string& proposedName, const std::string& source) {
    const std::string chosen = SaveFileDialog(proposedName, "*.csv");
    if (!chosen.empty()) CopyTemplate(source, chosen);
}
