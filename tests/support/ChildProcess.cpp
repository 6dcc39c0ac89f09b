#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <thread>
#include <utility>

extern char** environ;

namespace {
using namespace std::chrono_literals;
constexpr auto kHangGuard = 60s;
}  // namespace

CChild::CChild(const std::vector<std::string>& words, const std::string& errorFile,
               const std::string& workDir) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    // Opened before the change of directory, so the name is the test's.
    const std::string errorPath = std::filesystem::absolute(errorFile).string();
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    out_ = out[0];
}

CChild::~CChild() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::kill(pid_, SIGCONT);
        ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
}

void CChild::Signal(int signal) const {
    ::kill(pid_, signal);
}

std::optional<std::string> CChild::ReadLine() {
    const Clock::time_point deadline = Clock::now() + kHangGuard;
    for (;;) {
        if (const std::size_t end = buffer_.find('\n'); end != std::string::npos) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return line;
        }
        if (!Fill(deadline)) return std::nullopt;
    }
}

std::string CChild::ReadRest() {
    const Clock::time_point deadline = Clock::now() + kHangGuard;
    while (Fill(deadline)) {
    }
    return std::exchange(buffer_, {});
}

std::optional<int> CChild::Wait() {
    const Clock::time_point deadline = Clock::now() + kHangGuard;
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(5ms);
    }
    pid_ = -1;
    return status;
}

bool CChild::Fill(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd waiting{out_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) return false;
    char bytes[4096];
    const ssize_t read = ::read(out_, bytes, sizeof bytes);
    if (read <= 0) return false;
    buffer_.append(bytes, static_cast<std::size_t>(read));
    return true;
}

int ExitStatusOf(const std::optional<int>& status) {
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}
