#pragma once

#include <string>

// The opener that shows a file in the program the desktop associates with its type: xdg-open on
// POSIX; on Windows the shell's own association (ShellExecuteW), which this name stands for.
extern const char* const kDesktopOpener;

// Opens `path` in the desktop's default program for its type through `opener`: kDesktopOpener,
// or a program (looked up in PATH) run with the path as its one argument and waited for. False
// when the opener cannot be run or reports that no program took the file.
bool OpenInDesktop(const std::string& opener, const std::string& path);
