#include "update/UpdateScript.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>

#include "Utils/Format.h"

extern char** environ;

std::string ShellQuoted(const std::string& text) {
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

std::string ScriptText(const CScriptPlan& plan) {
    std::string text = "#!/bin/sh\n";
    text += Format("sleep %d\n", plan.pauseSeconds);
    for (const std::string& path : plan.installed) {
        const std::string target = ShellQuoted((plan.folder / path).string());
        const std::string fresh = ShellQuoted((plan.folder / (path + "_u")).string());
        text += "rm -f " + target + "\n";
        text += "mv -f " + fresh + " " + target + "\n";
    }
    const std::string start = ShellQuoted(plan.start.string());
    if (plan.startIsNew) text += "chmod +x " + start + "\n";
    text += "cd " + ShellQuoted(plan.folder.string()) + " && " + start + " >/dev/null 2>&1 &\n";
    text += "rm -f " + ShellQuoted((plan.folder / kScriptName).string()) + "\n";
    return text;
}

bool WriteScript(const CScriptPlan& plan) {
    const std::string text = ScriptText(plan);
    FILE* file = std::fopen((plan.folder / kScriptName).c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
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
