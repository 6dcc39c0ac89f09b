#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// A program run by a test: its standard output on a pipe, read line by line; its standard error
// in a file. Killed and reaped on destruction if it is still running. Every wait gives up after
// a minute, only a guard against a hang: each program run here ends far sooner when it works.
class CChild {
public:
    // `workDir`, when not empty, is the program's working directory; `errorFile` is then
    // relative to the test's own.
    CChild(const std::vector<std::string>& words, const std::string& errorFile,
           const std::string& workDir = {});
    ~CChild();
    CChild(const CChild&) = delete;
    CChild& operator=(const CChild&) = delete;

    void Signal(int signal) const;

    // The next line without its newline; none at the end of the output or past the guard.
    std::optional<std::string> ReadLine();
    // Whatever output is left, to its end.
    std::string ReadRest();
    // The wait status; none when it has not ended within the guard (it is killed then).
    std::optional<int> Wait();

private:
    using Clock = std::chrono::steady_clock;
    bool Fill(Clock::time_point deadline);

    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
};

// The exit status of a program that ended by itself; -1 otherwise.
int ExitStatusOf(const std::optional<int>& status);
