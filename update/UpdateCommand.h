#pragma once

#include "app/toolkit/CommandLine.h"
#include "update/ProgramUpdate.h"
#include "update/QueryClient.h"

// `vevo update --check|--yes`: the start-up check without a window, and with --yes the whole
// update without questions. Every line of a run goes to standard output. 0 when the check
// answered (and the update, if any, was started or had nothing to install), 1 for no answer or
// a failed update, 2 for bad arguments.
extern const CCommandSyntax kUpdateCommand;
int RunUpdateCommand(int argc, char** argv);
// The same against another gateway and folder, as the tests run it.
int RunUpdateCommandWith(int argc, char** argv, const CGatewayAddress& gateway,
                         const CUpdateSettings& settings);
