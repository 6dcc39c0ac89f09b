#pragma once

#include "app/toolkit/CommandLine.h"

// `vevo import ...`: one of the screens' imports without a window, into the working
// directory's local.db. Prints one line per skipped line and per listed meter not found, then
// "S stored, U unbound, K skipped". Returns 0 when the file was read, 1 when it could not be
// opened, the building does not exist or the database failed (nothing of it stored), 2 for bad
// arguments.
extern const CCommandSyntax kImportCommand;
int RunImportCommand(int argc, char** argv);
