#include "app/ProgramConsole.h"

// A terminal shows UTF-8 as the locale says and is the shell's, not the program's.
void UseConsoleForText() {}

void LeaveOwnConsole() {}

std::vector<std::string> CommandWords(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}
