#pragma once

#include <string>

#include "directory/import/ImportResult.h"

// The message an import ends with on a screen, in Ukrainian: the counts, then the first few
// remarks with their line numbers; or why nothing was stored.
std::string ImportSummaryText(const CImportResult& result, const std::string& path);
