#pragma once

#include <cstdint>
#include <string>

#include "serial/DataPackage.h"

// What opening a link came to.
enum class ChannelOpening {
    Open,
    Refused,    // the device or the server would not open: the operator is asked
    Unsettled,  // it opened but would not take the line settings, and was closed again
};

// What a wait for one byte came to.
enum class ChannelRead { Byte, Silence, Lost };

// A byte link to the radio modem: a serial port, or a serial device server on the network. Only
// the link's own mechanics live here; how an exchange goes is the same for every link and is
// CProcessComPort's. Nothing is opened on construction.
class CChannel {
public:
    virtual ~CChannel() = default;

    virtual ChannelOpening Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Drops whatever an earlier exchange left unread or unsent; false when the link is gone.
    virtual bool Purge() = 0;
    // False when not every byte went: the link is gone.
    virtual bool Write(const CDataPackage& package) = 0;
    // Waits at most `waitMs` for one byte; `byte` is set only when one came.
    virtual ChannelRead ReadByte(std::uint8_t& byte, unsigned waitMs) = 0;
    // What the link was asked for by, e.g. /dev/ttyUSB0 or tcp:10.0.0.5:4001.
    virtual const std::string& Name() const = 0;
};
