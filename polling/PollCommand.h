#pragma once

#include "app/toolkit/CommandLine.h"

// `vevo poll ...`: the polling thread's walk or by-number read without a window, in the working
// directory's local.db, config.ini and console.log. Returns the exit status: 0 when the run
// completed, whatever the meters answered, with every answered reading stored; 1 when the link
// would not open or was lost, local.db cannot be used or is damaged, or readings could not be
// stored; 2 for bad arguments.
extern const CCommandSyntax kPollCommand;
int RunPollCommand(int argc, char** argv);
