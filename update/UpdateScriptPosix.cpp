#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include "Utils/Format.h"
#include "update/UpdateScript.h"

extern char** environ;

const char* const kScriptName = "update.sh";

namespace {
// A word for the shell that is `text` exactly, whatever it holds.
std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// How long the script waits for the program to end before it gives up, in seconds.
constexpr int kProgramEndWait = 60;
}  // namespace

std::string ScriptText(const CScriptPlan& plan) {
    std::string text = "#!/bin/sh\ncd -- \"$(dirname -- \"$0\")\" || exit 1\n";
    text += Format(
        "waited=0\nwhile kill -0 %lu 2>/dev/null; do\n"
        "    [ \"$waited\" -lt %d ] || exit 1\n    sleep 1\n    waited=$((waited + 1))\ndone\n",
        plan.programProcess, kProgramEndWait);
    text += "for path in";
    for (const std::string& path : LinkCheckedPaths(plan)) text += " " + Quoted(path);
    text += "; do\n    [ -L \"$path\" ] && exit 1\ndone\n";
    for (const std::string& path : plan.installed)
        text += "mv -fT -- " + Quoted(path + "_u") + " " + Quoted(path) + " || exit 1\n";
    const std::string program = Quoted("./" + plan.program);
    if (plan.programIsNew) text += "chmod +x -- " + program + "\n";
    text += program + " >/dev/null 2>&1 &\n";
    text += "rm -f -- " + Quoted(kScriptName) + "\n";
    return text;
}

bool StartScriptDetached(const std::filesystem::path& folder) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    // Its own session: the script outlives the program that it is about to replace.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    char shell[] = "/bin/sh";
    std::string script = kScriptName;
    char* arguments[] = {shell, script.data(), nullptr};
    pid_t child = 0;
    const bool started = posix_spawn(&child, shell, &actions, &attributes, arguments, environ) == 0;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return started;
}

std::filesystem::path RunningProgramPath() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

unsigned long RunningProcessId() {
    return static_cast<unsigned long>(getpid());
}
