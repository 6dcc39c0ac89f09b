#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "update/FolderFiles.h"

// The installer script, update.sh (run by /bin/sh) or update.bat (run by cmd.exe), started
// detached from the program: it waits until the program has ended, refuses to go on if a link
// has appeared at any name it moves or in any folder of them, moves each downloaded "PATH_u"
// over its file, starts the program and removes itself. Every name in it is relative to the
// program's folder, where it runs.
struct CScriptPlan {
    std::vector<std::string> installed;  // paths below the folder: dst/name or name
    std::string program;                 // the program's file name in the folder
    bool programIsNew = false;           // downloaded: made runnable first where that is needed
    unsigned long programProcess = 0;    // the running program's process id, waited for
};

// update.sh or update.bat.
extern const char* const kScriptName;

std::string ScriptText(const CScriptPlan& plan);
// The names the script checks for a link before it moves anything: every folder of the
// installed paths, every path and its "PATH_u", and the program.
std::vector<std::string> LinkCheckedPaths(const CScriptPlan& plan);
// Writes the script through a temporary name renamed into place, so that a link at its name is
// replaced rather than written through.
WriteOutcome WriteScript(const std::filesystem::path& folder, const CScriptPlan& plan);
// Starts the script in the folder, detached and without a window, without waiting for it.
bool StartScriptDetached(const std::filesystem::path& folder);

// The running program's own file, and its process id.
std::filesystem::path RunningProgramPath();
unsigned long RunningProcessId();
