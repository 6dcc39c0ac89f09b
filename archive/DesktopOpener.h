#pragma once

#include <string>

// Opens `path` in the desktop's default program for its type by running `opener` (a program
// looked up in PATH, "xdg-open" on a Linux desktop) with the path as its one argument, and
// waits for the opener to finish. False when the opener cannot be run or reports that no
// program took the file.
bool OpenInDesktop(const std::string& opener, const std::string& path);
