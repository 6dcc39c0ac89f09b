#pragma once

#include <memory>
#include <optional>

#include "serial/Channel.h"
#include "serial/DataPackage.h"
#include "serial/LinkErrors.h"
#include "serial/LinkSettings.h"
#include "serial/ReplyReceive.h"

// The program's link to the radio modem: at most one exists, made by Connect and used by the
// polling thread. It does what is the same over every link: the purge before a request, the
// rules that end a reply, the log of received bytes, and asking the operator to retry when the
// link will not open or has gone. The link is opened on construction and closed on destruction;
// failures never reach the caller.
class CProcessComPort {
public:
    // "tcp:HOST:PORT" is a serial device server on the network, any other name a serial device.
    CProcessComPort(const char* name, unsigned speed, const CLinkSettings& settings = {});
    // Over a link of the caller's making; the speed sets the read interval.
    CProcessComPort(std::unique_ptr<CChannel> channel, unsigned speed,
                    const CLinkSettings& settings = {});
    virtual ~CProcessComPort();
    CProcessComPort(const CProcessComPort&) = delete;
    CProcessComPort& operator=(const CProcessComPort&) = delete;

    // Drops whatever is still unread or unsent from an earlier exchange, then writes the package.
    // A frame's address is remembered: the reply is that meter's (see ReceiveReply).
    void SendPackage(const CDataPackage& package);
    // Replaces the package's bytes with the reply and logs them.
    void ReceivePackage(CDataPackage& package);

    // From any thread: the receive under way, and every one after it, ends at once with
    // nothing, until Resume. What Stop, "Назад" and closing the window rely on.
    void Interrupt() { channel_->Interrupt(); }
    // Before a run of exchanges: undoes an earlier Interrupt.
    void Resume() { channel_->Resume(); }

    // False once the link would not open and the operator gave up, or it has gone since.
    bool IsOpen() const { return channel_->IsOpen(); }

private:
    void Open();
    // Asks the operator about `kind` until the link opens again (Retry) or the operator gives
    // up (Cancel: the link stays closed).
    void ReportLinkError(LinkErrorKind kind);

    std::unique_ptr<CChannel> channel_;
    CReplyTiming timing_;
    // The serial-number bytes of the meter the last request went to.
    std::optional<CMeterSerialBytes> asked_;
};
