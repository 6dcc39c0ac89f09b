#pragma once

#include <string>
#include <vector>

// The console the program is started from. The Windows program is a console program, so that
// cmd.exe, PowerShell and a scheduled task wait for a command, show what it prints and get its
// exit status; the window then lets go of a console that was made for it alone (started from the
// Start menu or Explorer), which closes it. On POSIX a terminal needs neither.

// Before anything is printed: the console shows the program's UTF-8 as UTF-8.
void UseConsoleForText();

// Before the window opens: closes the console when no other program shares it.
void LeaveOwnConsole();

// The words of the command line as UTF-8: on Windows main's own are in the ANSI code page, which
// cannot hold every file name an operator gives.
std::vector<std::string> CommandWords(int argc, char** argv);
