#pragma once

#include <optional>
#include <span>

#include "app/toolkit/CommandLine.h"

// `vevo WORD ...`: a screen's work without a window, for scripts, schedulers and tests. The
// commands share the screens' code; each one is described in the README and by
// `vevo WORD --help`.
//
// The exit status of the command that argv[1] names, or of `vevo --help` and `vevo --version`.
// Empty when the window is to start: no arguments, or options for the window (the others that
// begin with '-'). A word that names no command is refused with the nearest command's name
// on standard error, and gives 2. Nothing here needs a display.
std::optional<int> RunCommand(int argc, char** argv);

struct CCommand {
    const CCommandSyntax& syntax;
    int (*run)(int argc, char** argv);
};

// Every command, in the order `vevo --help` lists them.
std::span<const CCommand> CommandTable();
