#include "serial/DescriptorIo.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

ChannelRead ReadByteWithin(int fd, std::uint8_t& byte, unsigned waitMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // Rounded up, so a wait is never cut short by a fraction of a millisecond.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd waiting{fd, POLLIN, 0};
        const int ready =
            ::poll(&waiting, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return ChannelRead::Silence;
        if (ready < 0 || (waiting.revents & POLLIN) == 0) return ChannelRead::Lost;
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
