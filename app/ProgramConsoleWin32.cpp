#include "app/ProgramConsole.h"

#include <windows.h>

void UseConsoleForText() {
    ::SetConsoleOutputCP(CP_UTF8);
}

void LeaveOwnConsole() {
    // Two processes or more: a shell's console, left as it is, so what the tools' options print
    // still shows there. One: the console the system opened for this program alone.
    DWORD processes[2];
    if (::GetConsoleProcessList(processes, 2) == 1) ::FreeConsole();
}
