#pragma once

#include "app/toolkit/CommandLine.h"

// `vevo archive ...` prints the grid the archive screen shows for a building and a range of
// whole days, in the working directory's local.db: the title row, then one line per meter,
// cells joined by tabs, in UTF-8; or the same as CSV or JSON; with the consumption columns and
// the meters without readings when asked.
extern const CCommandSyntax kArchiveCommand;
int RunArchiveCommand(int argc, char** argv);

// `vevo export ...` writes the sheet the screen's export writes to FILE.xlsx (the second
// export's with --consumption) and opens nothing; an existing FILE is refused.
// Both exit with 0 when done, 1 with one line on standard error when the building does not
// exist, local.db cannot be read ("local.db cannot be read: REASON") or the file exists or
// cannot be written, 2 for bad arguments.
extern const CCommandSyntax kExportCommand;
int RunExportCommand(int argc, char** argv);
