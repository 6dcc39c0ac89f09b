#include "serial/ProcessComPort.h"

#include <string>
#include <string_view>

#include "app/Log.h"
#include "serial/ComPort.h"
#include "serial/LineSpeeds.h"
#include "serial/NetworkAddress.h"
#include "serial/TcpChannel.h"

namespace {
std::unique_ptr<CChannel> ChannelNamed(const char* name, unsigned speed,
                                       const CLinkSettings& settings) {
    const std::string_view text = name != nullptr ? name : "";
    if (IsNetworkPortName(text)) return std::make_unique<CTcpChannel>(text, settings.connectWaitMs);
    return std::make_unique<CComPort>(name, speed);
}
}  // namespace

CProcessComPort::CProcessComPort(const char* name, unsigned speed, const CLinkSettings& settings)
    : CProcessComPort(ChannelNamed(name, speed, settings), speed, settings) {}

CProcessComPort::CProcessComPort(std::unique_ptr<CChannel> channel, unsigned speed,
                                 const CLinkSettings& settings)
    : channel_(std::move(channel)), timing_(ReplyTimingOf(CheckBaud(speed), settings)) {
    Open();
}

CProcessComPort::~CProcessComPort() = default;

void CProcessComPort::Open() {
    // A link that opened but would not take its settings is closed without a word: the next
    // exchange reports it lost.
    if (channel_->Open() == ChannelOpening::Refused) ReportLinkError(LinkErrorCannotOpen);
}

void CProcessComPort::ReportLinkError(LinkErrorKind kind) {
    while (AskLinkRetry(kind, channel_->Name())) {
        channel_->Close();
        if (channel_->Open() != ChannelOpening::Refused) return;
        kind = LinkErrorCannotOpen;
    }
}

void CProcessComPort::SendPackage(const CDataPackage& package) {
    const std::optional<CFrameSpan> request = FrameEndingAt(package.Bytes());
    asked_.reset();
    if (request) asked_ = SerialBytesOf(package.Bytes(), *request);
    if (!channel_->IsOpen()) {
        // Even when Retry reopens the link, this request is not sent.
        ReportLinkError(LinkErrorLost);
        return;
    }
    // A late reply to an earlier request must not be taken for the reply to this one.
    if (!channel_->Purge() || !channel_->Write(package)) channel_->Close();
}

void CProcessComPort::ReceivePackage(CDataPackage& package) {
    if (!channel_->IsOpen()) {
        ReportLinkError(LinkErrorLost);
        return;
    }
    const CReceivedReply reply = ReceiveReply(*channel_, timing_, asked_);
    if (reply.lost) channel_->Close();
    package = reply.package;
    Log.WriteText(reply.log);
}
