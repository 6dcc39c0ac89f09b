#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class CWakeFlag;

// What a connect came to.
enum class SocketConnect {
    Connected,
    UnknownHost,
    LookupTimedOut,  // the name look-up did not end in time
    NoSocket,
    Refused,  // no address took the connection in time
    Stopped,  // the stop request said so
};

// What a send or a receive came to.
enum class SocketIo {
    Done,
    Closed,  // the peer closed the connection
    TimedOut,
    Woken,    // the wake flag was raised
    Stopped,  // the stop request said so
    Failed,
};

// One TCP connection, over Berkeley sockets on POSIX and Winsock 2 on Windows. Every wait is
// bounded by a time the caller gives, so a peer that accepts and never answers cannot hold the
// caller. A peer that has gone never ends the program (no SIGPIPE). Closed on destruction.
class CSocket {
public:
    using Clock = std::chrono::steady_clock;

    CSocket() = default;
    ~CSocket();
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;

    // Looks `host` up, by `lookupUntil` when one is given, then connects to its addresses in
    // turn until one takes the connection: within `connectWait` of the look-up's end, and by
    // the `deadline` when there is one.
    SocketConnect Connect(const std::string& host, const std::string& port,
                          std::optional<Clock::time_point> lookupUntil,
                          std::chrono::milliseconds connectWait,
                          std::optional<Clock::time_point> deadline);
    // From then on every wait, the look-up's included, asks `stop` at least every 100 ms and
    // ends with Stopped when it says so.
    void StopWhen(std::function<bool()> stop) { stop_ = std::move(stop); }
    bool IsOpen() const;
    void Close();
    // Small writes go out at once rather than gathered (no Nagle delay).
    void SendAtOnce();

    // Sends every byte, waiting for room until `until`.
    SocketIo SendAll(const void* bytes, std::size_t size, Clock::time_point until);
    // Waits until bytes have come, then takes at most `size` of them; `received` is how many.
    // With a `wake` flag, a raised flag ends the wait at once, and wins over bytes that came at
    // the same moment.
    SocketIo Receive(void* into, std::size_t size, std::size_t& received, Clock::time_point until,
                     const CWakeFlag* wake = nullptr);
    // Reads off whatever has come, without waiting; false when the peer has closed or the
    // connection failed.
    bool Drain();

private:
    // The descriptor (POSIX) or SOCKET (Windows), and on Windows the event its network events
    // set, which waits wait on beside a wake flag's.
    std::intptr_t native_ = -1;
    std::intptr_t event_ = 0;
    std::function<bool()> stop_;
};
