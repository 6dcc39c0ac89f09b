#pragma once

#include <termios.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/DataPackage.h"
#include "tools/simulator/SimulatedMeter.h"

// The radio modem with its meters, on the master side of a pseudo-terminal pair: the program
// opens the other side (PortPath, or a link made by LinkAs) as its serial port. Read requests
// are answered on a thread of their own, as the meters and the line are set up.
class CMeterSimulator {
public:
    using Clock = std::chrono::steady_clock;
    // Told one line per request seen, for an operator watching the simulator.
    using Report = std::function<void(const std::string& line)>;

    CMeterSimulator(std::vector<CSimMeter> meters, CSimLine line = {}, Report report = {});
    ~CMeterSimulator();  // stops answering, removes the link, closes the pair
    CMeterSimulator(const CMeterSimulator&) = delete;
    CMeterSimulator& operator=(const CMeterSimulator&) = delete;

    // Opens the pair and starts answering; false with `error` set when that fails.
    bool Start(std::string& error);
    // The terminal device the program opens, e.g. /dev/pts/3.
    const std::string& PortPath() const { return portPath_; }
    // Makes `link` (e.g. /dev/ttyVEVO0) point at the port, replacing an older link but never
    // another kind of file; the link goes when the simulator does.
    bool LinkAs(const std::string& link, std::string& error);

    // Puts bytes on the line now, as if a meter had sent them unasked.
    void Send(const CDataPackage& bytes);
    // Every read request seen so far, as it arrived (from its start character).
    std::vector<CDataPackage> Requests() const;
    // The line settings the program's side of the pair has now.
    termios LineSettings() const;

private:
    void Run();
    void TakeInput();
    void Answer(unsigned serial, int meterCode, Clock::time_point requestEnd);
    void Schedule(const CDataPackage& bytes, Clock::time_point start, bool inBursts);
    void WriteDueBytes();
    double CharacterMs() const;

    std::vector<CSimMeter> meters_;
    CSimLine line_;
    Report report_;
    int master_ = -1;
    int slave_ = -1;  // held open so the pair lives while the program's side is closed
    int wake_ = -1;
    std::string portPath_;
    std::string link_;
    std::vector<std::uint8_t> input_;

    mutable std::mutex lock_;  // guards what follows, shared with the callers' thread
    std::multimap<Clock::time_point, std::uint8_t> outgoing_;
    std::vector<CDataPackage> requests_;

    std::atomic<bool> stop_ = false;
    std::thread thread_;
};
