#pragma once

#include "app/toolkit/CommandLine.h"

// `vevo import ...`: one of the screens' imports without a window, into the working
// directory's local.db. Prints one line per skipped line, per listed meter not found and per
// meter unbound (the first 1,000 of them), then "S stored, U unbound, K skipped". Returns 0 when
// the file was read, 1 when it could not be opened, held no records, the building does not
// exist or the database failed (nothing of it stored), 2 for bad arguments.
extern const CCommandSyntax kImportCommand;
int RunImportCommand(int argc, char** argv);
