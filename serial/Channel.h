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
enum class ChannelRead {
    Byte,
    Silence,
    Lost,
    Interrupted,  // Interrupt was called: the exchange is to be abandoned
};

// A byte link to the radio modem: a serial port, or a serial device server on the network. Only
// the link's own mechanics live here; how an exchange goes is the same for every link and is
// CProcessComPort's. Nothing is opened on construction.
//
// Stopping: Interrupt may be called from any thread while another waits in ReadByte. It raises
// a flag that stays raised until Resume: the wait under way returns Interrupted at once, and so
// does every ReadByte after it. On POSIX the flag is an eventfd polled beside the descriptor; on
// Win32 a manual-reset event waited for beside the read's own event (WaitForMultipleObjects),
// after which the pending read is cancelled (CancelIoEx) and its end awaited, or the read is
// cancelled from Interrupt itself. Interrupt and Resume work whether the link is open or not.
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
    // See "Stopping" above. Thread-safe, never blocks.
    virtual void Interrupt() = 0;
    // Lowers the flag Interrupt raised: called before a run of exchanges starts.
    virtual void Resume() = 0;
    // What the link was asked for by, e.g. /dev/ttyUSB0 or tcp:10.0.0.5:4001.
    virtual const std::string& Name() const = 0;
};
