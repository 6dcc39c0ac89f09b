#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Utils/Socket.h"
#include "Utils/WakeFlag.h"
#include "serial/Channel.h"
#include "serial/DataPackage.h"

// A link to a serial device server over TCP, named "tcp:HOST:PORT". The server's serial side
// has its own speed and line format; this end only carries the bytes. A connection that fails
// or does not come up within the connect wait is a refused open; a connection the server
// closes, or an error on it, is a lost link.
class CTcpChannel : public CChannel {
public:
    CTcpChannel(std::string_view name, unsigned connectWaitMs);
    ~CTcpChannel() override = default;
    CTcpChannel(const CTcpChannel&) = delete;
    CTcpChannel& operator=(const CTcpChannel&) = delete;

    // Host names are looked up first; the wait bounds the connect, not the look-up.
    ChannelOpening Open() override;
    void Close() override { socket_.Close(); }
    bool IsOpen() const override { return socket_.IsOpen(); }
    // Reads off whatever has arrived, without waiting for more.
    bool Purge() override { return socket_.Drain(); }
    // A server that takes no byte for the connect wait is gone.
    bool Write(const CDataPackage& package) override;
    ChannelRead ReadByte(std::uint8_t& byte, unsigned waitMs) override;
    void Interrupt() override { wake_.Raise(); }
    void Resume() override { wake_.Lower(); }
    const std::string& Name() const override { return name_; }

private:
    CSocket socket_;
    CWakeFlag wake_;
    std::string name_;
    unsigned connectWaitMs_;
};
