#pragma once

#include <string>

// Copies the example file `source` to `chosen` with ".csv" appended (also to a name that
// already ends in it). An existing file is never overwritten. False when nothing was copied.
bool CopyTemplate(const std::string& source, const std::string& chosen);
