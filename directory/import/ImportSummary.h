#pragma once

#include <string>

#include "directory/import/ImportResult.h"

// The message an import ends with on a screen: the counts the command prints, then the first
// few remarks with their line numbers. Empty for a file that was read with nothing to remark.
std::string ImportSummaryText(const CImportResult& result, const std::string& path);
