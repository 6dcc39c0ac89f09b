#pragma once

#include <string>

class CSheet;

// Writes the sheet as the one worksheet of a new .xlsx workbook at `path`, replacing what is
// there. False when the file cannot be written.
bool WriteXlsxFile(const CSheet& sheet, const std::string& path);
