#include "serial/TcpChannel.h"

#include <chrono>
#include <optional>

#include "serial/NetworkAddress.h"

namespace {
CSocket::Clock::time_point In(unsigned ms) {
    return CSocket::Clock::now() + std::chrono::milliseconds(ms);
}
}  // namespace

CTcpChannel::CTcpChannel(std::string_view name, unsigned connectWaitMs)
    : name_(name), connectWaitMs_(connectWaitMs) {}

ChannelOpening CTcpChannel::Open() {
    const std::optional<CNetworkAddress> address = NetworkAddressOf(name_);
    if (!address) return ChannelOpening::Refused;
    if (socket_.Connect(address->host, address->port, std::nullopt,
                        std::chrono::milliseconds(connectWaitMs_),
                        std::nullopt) != SocketConnect::Connected) {
        return ChannelOpening::Refused;
    }
    // Requests are small and wanted at once; without this the link still works, only later.
    socket_.SendAtOnce();
    return ChannelOpening::Open;
}

bool CTcpChannel::Write(const CDataPackage& package) {
    return socket_.SendAll(package.Bytes().data(), package.Size(), In(connectWaitMs_)) ==
           SocketIo::Done;
}

ChannelRead CTcpChannel::ReadByte(std::uint8_t& byte, unsigned waitMs) {
    std::size_t received = 0;
    switch (socket_.Receive(&byte, 1, received, In(waitMs), &wake_)) {
        case SocketIo::Done:
            return ChannelRead::Byte;
        case SocketIo::TimedOut:
            return ChannelRead::Silence;
        case SocketIo::Woken:
            return ChannelRead::Interrupted;
        case SocketIo::Closed:
        case SocketIo::Stopped:  // no stop request is set: Interrupt wakes the link
        case SocketIo::Failed:
            break;
    }
    return ChannelRead::Lost;
}
