#include "archive/DesktopOpener.h"

#include <windows.h>
// The shell's header stands on windows.h.
#include <shellapi.h>

#include <string_view>

#include "Utils/WideText.h"

const char* const kDesktopOpener = "shell";

namespace {
// A program's exit status 0 says it took the file.
bool RunWith(const std::string& program, const std::string& path) {
    std::wstring command = L"\"" + WideOf(program) + L"\" \"" + WideOf(path) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &process)) {
        return false;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return status == 0;
}
}  // namespace

bool OpenInDesktop(const std::string& opener, const std::string& path) {
    if (opener != kDesktopOpener) return RunWith(opener, path);
    // Above 32 is success; below it, no program is associated or it would not start.
    const auto shown = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", WideOf(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return shown > 32;
}
