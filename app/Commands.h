#pragma once

#include <optional>

// `vevo WORD ...`: a screen's work without a window, for scripts, schedulers and tests. The
// commands share the screens' code; each one is described in the README.
//
// The exit status of the command that argv[1] names. Empty when the window is to start: no
// arguments, or options for the window (they begin with '-'). A word that names no command
// lists the commands on standard error and gives 2.
std::optional<int> RunCommand(int argc, char** argv);
