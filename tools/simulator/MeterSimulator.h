#pragma once

#include <termios.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "serial/DataPackage.h"
#include "tools/simulator/MeterReplies.h"
#include "tools/simulator/SimulatedMeter.h"

// The radio modem with its meters, on the master side of a pseudo-terminal pair: the program
// opens the other side (PortPath, or a link made by LinkAs) as its serial port. Or a serial
// device server with the modem behind it, listening on a loopback TCP port: the program connects
// to PortPath's "tcp:127.0.0.1:PORT", one connection at a time, the newest taking over. Read
// requests are answered on a thread of their own, as the meters and the line are set up.
class CMeterSimulator {
public:
    using Clock = std::chrono::steady_clock;
    // Told one line per request seen, for an operator watching the simulator, with the time
    // the line was quiet from the last reply's last byte to the request (the program's own).
    using Report = std::function<void(const std::string& line)>;

    CMeterSimulator(std::vector<CSimMeter> meters, CSimLine line = {}, Report report = {});
    ~CMeterSimulator();  // stops answering, removes the link, closes the pair
    CMeterSimulator(const CMeterSimulator&) = delete;
    CMeterSimulator& operator=(const CMeterSimulator&) = delete;

    // Opens the pair and starts answering; false with `error` set when that fails.
    bool Start(std::string& error);
    // Listens on 127.0.0.1:`port` (0: any free port, see TcpPort) and starts answering over the
    // connection the program makes; the bytes are paced as by a server's serial side at
    // 9600 bit/s. False with `error` set when that fails.
    bool StartTcp(unsigned port, std::string& error);
    // What the program opens: the terminal device, e.g. /dev/pts/3, or "tcp:127.0.0.1:PORT".
    const std::string& PortPath() const { return portPath_; }
    unsigned TcpPort() const { return tcpPort_; }
    // Makes `link` (e.g. /dev/ttyVEVO0) point at the port, replacing an older link but never
    // another kind of file; the link goes when the simulator does.
    bool LinkAs(const std::string& link, std::string& error);

    // Puts bytes on the line now, as if a meter had sent them unasked.
    void Send(const CDataPackage& bytes);
    // Every read request seen so far, as it arrived (from its start character).
    std::vector<CDataPackage> Requests() const;
    // For every request that came after a reply: how long the line had been quiet from the
    // reply's last byte to the request.
    std::vector<Clock::duration> ReplyToRequestGaps() const;
    // Closes the program's connection, as a server does that drops its client; later ones are
    // still taken.
    void Hangup();
    // The line settings the program's side of the pair has now.
    termios LineSettings() const;

private:
    bool StartAnswering(std::string& error);
    void Run();
    int LineEnd() const { return listener_ >= 0 ? connection_ : master_; }
    void TakeConnection();
    void DropConnection();
    // What a meter marked hang-up does when asked: the line ends for good.
    void HangUpLine();
    void TakeInput();
    // `quiet` ends the report line: how long the line was quiet since the last reply.
    void Answer(unsigned serial, int meterCode, Clock::time_point requestEnd,
                const std::string& quiet);
    void Schedule(const CDataPackage& bytes, Clock::time_point start, bool inBursts);
    void WriteDueBytes();
    // The bytes of a never-silent line due by `now`, added to `due`.
    void TakeEndlessBytes(Clock::time_point now, std::vector<std::uint8_t>& due);
    double CharacterMs() const;

    std::vector<CSimMeter> meters_;
    CSimLine line_;
    Report report_;
    int master_ = -1;
    int slave_ = -1;  // held open so the pair lives while the program's side is closed
    int listener_ = -1;
    int wake_ = -1;
    unsigned tcpPort_ = 0;
    std::string portPath_;
    std::string link_;
    std::vector<std::uint8_t> input_;
    // A line that never falls silent, from `endlessStart_` until the next request.
    std::optional<CEndlessLine> endless_;
    Clock::time_point endlessStart_;
    std::size_t endlessSent_ = 0;

    mutable std::mutex lock_;  // guards what follows, shared with the callers' thread
    int connection_ = -1;      // written only by the answering thread
    std::multimap<Clock::time_point, std::uint8_t> outgoing_;
    std::vector<CDataPackage> requests_;
    std::vector<Clock::duration> gaps_;
    std::optional<Clock::time_point> replyEnd_;  // the last byte written since the last request

    std::atomic<bool> stop_ = false;
    std::thread thread_;
};
