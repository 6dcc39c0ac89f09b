#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "serial/Channel.h"
#include "serial/DataPackage.h"
#include "serial/DescriptorIo.h"

// A link to a serial device server over TCP, named "tcp:HOST:PORT". The server's serial side
// has its own speed and line format; this end only carries the bytes. A connection that fails
// or does not come up within the connect wait is a refused open; a connection the server
// closes, or an error on it, is a lost link.
class CTcpChannel : public CChannel {
public:
    CTcpChannel(std::string_view name, unsigned connectWaitMs);
    ~CTcpChannel() override;
    CTcpChannel(const CTcpChannel&) = delete;
    CTcpChannel& operator=(const CTcpChannel&) = delete;

    // Host names are looked up first; the wait bounds the connect, not the look-up.
    ChannelOpening Open() override;
    void Close() override;
    bool IsOpen() const override { return fd_ >= 0; }
    // Reads off whatever has arrived, without waiting for more.
    bool Purge() override;
    bool Write(const CDataPackage& package) override;
    ChannelRead ReadByte(std::uint8_t& byte, unsigned waitMs) override;
    void Interrupt() override { wake_.Raise(); }
    void Resume() override { wake_.Lower(); }
    const std::string& Name() const override { return name_; }

private:
    int fd_ = -1;
    CWakeFlag wake_;
    std::string name_;
    unsigned connectWaitMs_;
};
