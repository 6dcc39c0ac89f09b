// Time from process start to the main screen shown, in a working directory that holds only the
// program, as installed: the program is started with --quit-when-shown and the clock stops when
// it says "shown".
// The start-up version check asks the gateway on 127.0.0.1:80 (an unconfigured build's host):
// with nothing there it is refused at once; the gateway cases listen there themselves, which
// takes the right to bind port 80.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

extern char** environ;

namespace {
// Runs the program once in a fresh directory; returns the seconds until "shown", or -1.
double StartOnce() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vevo-start-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return -1;
    // The program in its own folder, so that its start-up check asks the gateway.
    const std::filesystem::path program = std::filesystem::path(pattern) / "vevo";
    std::error_code error;
    std::filesystem::create_hard_link(VEVO_BINARY, program, error);
    if (error && !std::filesystem::copy_file(VEVO_BINARY, program, error)) return -1;
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, pattern.c_str());
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string binary = program.string();
    char option[] = "--quit-when-shown";
    char* arguments[] = {binary.data(), option, nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const bool spawned =
        posix_spawn(&child, binary.c_str(), &actions, nullptr, arguments, environ) == 0;
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

// A gateway on 127.0.0.1:80. Black-holed, it accepts connections (the kernel does) and never
// answers; up to date, it answers both calls of the check with the program's own version.
class CLocalGateway {
public:
    explicit CLocalGateway(bool answers) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int yes = 1;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(80);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bound_ = bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                 listen(listener_, 64) == 0;
        if (bound_ && answers) server_ = std::thread([this] { Serve(); });
    }
    ~CLocalGateway() {
        stop_ = true;
        shutdown(listener_, SHUT_RDWR);
        if (server_.joinable()) server_.join();
        close(listener_);
    }
    bool Bound() const { return bound_; }

private:
    void Serve() {
        while (!stop_) {
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0) return;
            std::string request;
            char chunk[4096];
            ssize_t got = 0;
            // The form ends the request; its query is the last field.
            while (request.find(");") == std::string::npos &&
                   (got = read(client, chunk, sizeof chunk)) > 0)
                request.append(chunk, got);
            const bool identify = request.find("query=call identify();") != std::string::npos;
            const std::string reply =
                std::string("HTTP/1.0 200 OK\r\n\r\n") +
                (identify ? R"([{"id":"7","finger":"f"}])" : R"([{"project_version":"v.0.05"}])");
            (void)!write(client, reply.data(), reply.size());
            close(client);
        }
    }

    int listener_ = -1;
    bool bound_ = false;
    std::atomic<bool> stop_ = false;
    std::thread server_;
};

void StartWithGateway(benchmark::State& state, bool answers) {
    CLocalGateway gateway(answers);
    if (!gateway.Bound()) {
        state.SkipWithError("port 80 of 127.0.0.1 cannot be taken here");
        return;
    }
    BM_StartToMainScreenShown(state);
}
void BM_StartWithGatewayBlackHoled(benchmark::State& state) {
    StartWithGateway(state, false);
}
void BM_StartWithGatewayUpToDate(benchmark::State& state) {
    StartWithGateway(state, true);
}
BENCHMARK(BM_StartWithGatewayBlackHoled)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_StartWithGatewayUpToDate)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
}  // namespace
