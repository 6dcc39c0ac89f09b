#pragma once

#include <string>

// The folder the screen's exports go to: "Vevo" in the user's documents folder, as the desktop
// names it (~/Documents or ~/Документи through Qt on POSIX, the Documents known folder on
// Windows), or in the home folder when it names none.
std::string ExportFolder();
