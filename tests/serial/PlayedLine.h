#pragma once

#include <memory>
#include <string>

// A serial port with the meter simulator behind it, playing the meters of a file of
// tests/serial/played/ (worked.meters, hang-up.meters). On POSIX the simulator runs in the test
// on a pseudo-terminal. On Windows it runs beside Wine, started by tools/windows/core-test.sh
// with the same file, on the COM port that the environment names: VEVO_PLAYED_WORKED=COM5,
// VEVO_PLAYED_HANG_UP=COM6.
class CPlayedLine {
public:
    explicit CPlayedLine(const std::string& meters);
    ~CPlayedLine();
    CPlayedLine(const CPlayedLine&) = delete;
    CPlayedLine& operator=(const CPlayedLine&) = delete;

    // What CProcessComPort opens.
    const std::string& Port() const { return port_; }

private:
    struct CPlayer;
    std::unique_ptr<CPlayer> player_;
    std::string port_;
};
