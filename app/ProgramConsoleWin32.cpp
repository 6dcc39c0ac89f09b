#include "app/ProgramConsole.h"

#include <windows.h>
// After windows.h, which it stands on.
#include <shellapi.h>

#include "Utils/WideText.h"

void UseConsoleForText() {
    ::SetConsoleOutputCP(CP_UTF8);
}

void LeaveOwnConsole() {
    // Two processes or more: a shell's console, left as it is, so what the tools' options print
    // still shows there. One: the console the system opened for this program alone.
    DWORD processes[2];
    if (::GetConsoleProcessList(processes, 2) == 1) ::FreeConsole();
}

std::vector<std::string> CommandWords(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) words.push_back(Utf8Of(wide[i]));
    ::LocalFree(wide);
    return words;
}
