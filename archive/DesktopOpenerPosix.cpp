#include "archive/DesktopOpener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

const char* const kDesktopOpener = "xdg-open";

bool OpenInDesktop(const std::string& opener, const std::string& path) {
    std::string program = opener;
    std::string file = path;
    char* argv[] = {program.data(), file.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
