#include "app/ProgramConsole.h"

// A terminal shows UTF-8 as the locale says and is the shell's, not the program's.
void UseConsoleForText() {}

void LeaveOwnConsole() {}
