#include "serial/DescriptorIo.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

CWakeFlag::CWakeFlag() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CWakeFlag::~CWakeFlag() {
    if (fd_ >= 0) ::close(fd_);
}

void CWakeFlag::Raise() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}

void CWakeFlag::Lower() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(fd_, &count, sizeof count);
}

ChannelRead ReadByteWithin(int fd, const CWakeFlag& wake, std::uint8_t& byte, unsigned waitMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // Rounded up, so a wait is never cut short by a fraction of a millisecond.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd waiting[] = {{fd, POLLIN, 0}, {wake.Fd(), POLLIN, 0}};
        const int ready = ::poll(waiting, 2, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready < 0 && errno == EINTR) continue;
        // A stop request wins over a byte that came at the same moment.
        if (ready > 0 && (waiting[1].revents & POLLIN) != 0) return ChannelRead::Interrupted;
        if (ready == 0) return ChannelRead::Silence;
        if (ready < 0 || (waiting[0].revents & POLLIN) == 0) return ChannelRead::Lost;
        std::uint8_t received = 0;
        const ssize_t read = ::read(fd, &received, 1);
        if (read == 1) {
            byte = received;
            return ChannelRead::Byte;
        }
        if (read < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        return ChannelRead::Lost;  // end of file or an error: the device or connection has gone
    }
}

bool WriteWhole(int fd, const CDataPackage& package, WriteSome writeSome) {
    const std::uint8_t* next = package.Bytes().data();
    std::size_t left = package.Size();
    while (left > 0) {
        const ssize_t written = writeSome(fd, next, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}
