#pragma once

#include <termios.h>

#include <cstdint>
#include <string>

#include "serial/Channel.h"
#include "serial/DataPackage.h"
#include "serial/DescriptorIo.h"

// One serial port at 8 data bits, even parity, one stop bit, raw, without flow control and with
// DTR and RTS held off. Opened exclusively: a port in use by another open is refused, and so is
// a device that is no terminal.
class CComPort : public CChannel {
public:
    // The speed is CheckBaud's choice for `speed`.
    CComPort(const char* path, unsigned speed);
    ~CComPort() override;
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    ChannelOpening Open() override;
    void Close() override;
    bool IsOpen() const override { return fd_ >= 0; }
    bool Purge() override;
    bool Write(const CDataPackage& package) override;
    ChannelRead ReadByte(std::uint8_t& byte, unsigned waitMs) override;
    void Interrupt() override { wake_.Raise(); }
    void Resume() override { wake_.Lower(); }
    const std::string& Name() const override { return path_; }

    unsigned Speed() const { return speed_; }

private:
    bool Configure();

    int fd_ = -1;
    CWakeFlag wake_;
    std::string path_;
    unsigned speed_;
    termios found_{};  // the line settings found at opening, put back at closing
    bool haveFound_ = false;
};
