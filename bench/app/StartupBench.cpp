// Time from process start to the main screen shown, in an empty working directory: the
// program is started with --quit-when-shown and the clock stops when it says "shown".
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

extern char** environ;

namespace {
// Runs the program once in a fresh directory; returns the seconds until "shown", or -1.
double StartOnce() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vevo-start-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return -1;
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, pattern.c_str());
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char binary[] = VEVO_BINARY;
    char option[] = "--quit-when-shown";
    char* arguments[] = {binary, option, nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const bool spawned = posix_spawn(&child, binary, &actions, nullptr, arguments, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    double seconds = -1;
    std::string said;
    char chunk[64];
    ssize_t read_ = 0;
    pollfd ready{out[0], POLLIN, 0};
    // A program that never shows its screen is given up on after half a minute.
    while (spawned && poll(&ready, 1, 30000) > 0 &&
           (read_ = read(out[0], chunk, sizeof chunk)) > 0) {
        said.append(chunk, read_);
        if (said.find("shown\n") != std::string::npos) {
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            break;
        }
    }
    close(out[0]);
    if (spawned && seconds < 0) kill(child, SIGKILL);
    if (spawned) waitpid(child, nullptr, 0);
    std::filesystem::remove_all(pattern);
    return seconds;
}

void BM_StartToMainScreenShown(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // unless a display was chosen
    for (auto _ : state) {
        const double seconds = StartOnce();
        if (seconds < 0) {
            state.SkipWithError("the program did not show its main screen");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartToMainScreenShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
}  // namespace
