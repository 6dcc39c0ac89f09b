#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The installer script update.sh: run by /bin/sh detached from the program, it waits for the
// program to end, moves each downloaded "NAME_u" over its file, starts the program and
// removes itself.
struct CScriptPlan {
    std::filesystem::path folder;        // the program's folder, absolute
    std::vector<std::string> installed;  // paths below the folder: dst/name or name
    std::filesystem::path start;         // the program to start, absolute
    bool startIsNew = false;             // downloaded: made runnable first
    int pauseSeconds = 5;
};

constexpr const char* kScriptName = "update.sh";

std::string ScriptText(const CScriptPlan& plan);
// A word for the shell that is `text` exactly, whatever it holds.
std::string ShellQuoted(const std::string& text);
// Writes the script into the folder; false when it could not be written whole.
bool WriteScript(const CScriptPlan& plan);
// Starts "/bin/sh update.sh" in the folder in a session of its own, its output to /dev/null,
// without waiting for it.
bool StartScriptDetached(const std::filesystem::path& folder);
