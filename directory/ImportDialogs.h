#pragma once

#include <functional>
#include <string>

#include "directory/import/ImportResult.h"

// The screens' side of the imports: the open dialog, the import on a worker thread under a
// busy cursor, and its summary box. False when the operator chose no file.
bool ImportChosenFile(const std::function<CImportResult(const std::string& path)>& import);
// The save dialog for an example file, proposing `proposedName`; the copy of `source` never
// overwrites a file, and a failed copy is not reported.
void SaveExampleFile(const std::string& proposedName, const std::string& source);
