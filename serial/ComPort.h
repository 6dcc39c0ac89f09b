#pragma once

#include <termios.h>

#include <cstdint>
#include <string>

#include "serial/Channel.h"
#include "serial/DataPackage.h"
#include "serial/LinkSettings.h"

// One serial port at 8 data bits, even parity, one stop bit, raw, without flow control and with
// DTR and RTS held off. Opened exclusively: a port in use by another open fails to open.
// A reply is read one byte at a time and ends when the line stays silent for the silence time,
// or, unless the settings say otherwise, as soon as it forms one complete frame that no byte
// follows within the read interval. The received package always carries one byte more than the
// line brought: a repeat of the last byte, or a single 0 when nothing came. Failures never reach
// the caller; the operator is asked instead.
class CComPort : public CChannel {
public:
    // Opens at once; the object exists whether or not the port could be opened.
    CComPort(const char* path, unsigned speed, const CLinkSettings& settings = {});
    ~CComPort() override;
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    // The speed itself when it is one the line supports, else 300.
    static unsigned CheckBaud(unsigned speed);

    void Open();
    void Close();
    // Drops whatever is still unread or unsent from an earlier exchange, then writes the package.
    void SendPackage(const CDataPackage& package);
    // Replaces the package's bytes with the reply read from the line and logs each byte.
    void ReceivePackage(CDataPackage& package);
    // Asks the operator about a failure of `kind` (LinkErrorKind) until the port opens again
    // (Retry) or the operator gives up (Cancel, the port stays closed).
    void ReportLinkError(int kind);

    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    unsigned Speed() const { return speed_; }
    // Three character times plus the read margin, in milliseconds.
    unsigned ReadInterval() const { return readInterval_; }
    const CLinkSettings& Settings() const { return settings_; }

private:
    enum class ReadOutcome { Byte, Silence, Lost };

    // False only when the device would not open; a port that will not take the line settings
    // is closed again without a word, and the next exchange reports it lost.
    bool OpenDevice();
    bool Configure();
    // Waits at most `waitMs` for one byte.
    ReadOutcome ReadByte(std::uint8_t& byte, unsigned waitMs) const;
    bool WriteAll(const CDataPackage& package) const;

    int fd_ = -1;
    std::string path_;
    unsigned readMargin_ = 30;
    unsigned speed_;
    termios found_{};  // the line settings found at opening, put back at closing
    bool haveFound_ = false;
    termios applied_{};
    unsigned readInterval_ = 0;
    CLinkSettings settings_;
};
