#include <windows.h>

#include <cstring>

#include "Utils/Format.h"
#include "update/UpdateScript.h"

const char* const kScriptName = "update.bat";

namespace {
// Names in the script are plain (letters, digits, ".", "_", "-", "+"), so quotation marks are
// all that cmd needs; its paths take backslashes.
std::string Quoted(const std::string& path) {
    std::string quoted = "\"";
    for (const char c : path) quoted += c == '/' ? '\\' : c;
    return quoted + "\"";
}

// How long the script waits for the program to end before it gives up, in seconds.
constexpr int kProgramEndWait = 60;
}  // namespace

std::string ScriptText(const CScriptPlan& plan) {
    // cmd finds its labels reliably only in a script with CR LF line ends. Each step is checked
    // by what it leaves, or by ERRORLEVEL after an outside program, never with || or &&: Wine's
    // cmd runs what follows those whatever the outcome.
    std::string text = "@echo off\r\ncd /d \"%~dp0\"\r\nif not exist \"%~nx0\" exit /b 1\r\n";
    const unsigned long id = plan.programProcess;
    text += Format(
        "set waited=0\r\n:wait\r\n"
        "tasklist /nh /fi \"PID eq %lu\" 2>nul | find \" %lu \" >nul\r\n"
        "if errorlevel 1 goto ended\r\n"
        "if %%waited%% geq %d exit /b 1\r\nset /a waited+=1\r\nping -n 2 127.0.0.1 >nul\r\n"
        "goto wait\r\n:ended\r\n",
        id, id, kProgramEndWait);
    // A reparse point (a link or a junction) shows as "l" among a name's attributes.
    for (const std::string& path : LinkCheckedPaths(plan)) {
        text += "for %%F in (" + Quoted(path) + ") do set \"attributes=-%%~aF\"\r\n";
        text += "if not \"%attributes:l=%\"==\"%attributes%\" exit /b 1\r\n";
    }
    for (const std::string& path : plan.installed) {
        text += "move /y " + Quoted(path + "_u") + " " + Quoted(path) + " >nul\r\n";
        text += "if exist " + Quoted(path + "_u") + " exit /b 1\r\n";
    }
    text += "start \"\" " + Quoted(plan.program) + "\r\n";
    text += "del /q \"%~f0\"\r\n";
    return text;
}

bool StartScriptDetached(const std::filesystem::path& folder) {
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::wstring shell = std::wstring(system) + L"\\cmd.exe";
    std::wstring command = L"\"" + shell + L"\" /d /c " + std::wstring(kScriptName, kScriptName + std::strlen(kScriptName));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    // No console window, and a process group of its own: it outlives the program it replaces.
    if (!CreateProcessW(shell.c_str(), command.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW | CREATE_NEW_PROCESS_GROUP, nullptr, folder.c_str(),
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::filesystem::path RunningProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

unsigned long RunningProcessId() {
    return GetCurrentProcessId();
}
