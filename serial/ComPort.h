#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Utils/WakeFlag.h"
#include "serial/Channel.h"
#include "serial/DataPackage.h"

// One serial port at 8 data bits, even parity, one stop bit, raw, without flow control and with
// DTR and RTS held off. Opened exclusively: a port in use by another open is refused, and so is
// a device that is no serial line. POSIX opens a terminal device (/dev/ttyUSB0) with termios;
// Windows opens a COM port (COM3, or \\.\COM3) with overlapped Win32 communications.
class CComPort : public CChannel {
public:
    // The speed is CheckBaud's choice for `speed`.
    CComPort(const char* path, unsigned speed);
    ~CComPort() override;
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    ChannelOpening Open() override;
    void Close() override;
    bool IsOpen() const override { return line_ != nullptr; }
    bool Purge() override;
    bool Write(const CDataPackage& package) override;
    ChannelRead ReadByte(std::uint8_t& byte, unsigned waitMs) override;
    void Interrupt() override { wake_.Raise(); }
    void Resume() override { wake_.Lower(); }
    const std::string& Name() const override { return path_; }

    unsigned Speed() const { return speed_; }

private:
    // The open port as its platform keeps it; none while the port is closed.
    struct CLine;
    std::unique_ptr<CLine> line_;
    CWakeFlag wake_;
    std::string path_;
    unsigned speed_;
};
