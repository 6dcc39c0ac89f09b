#include "serial/ComPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "serial/LineSpeeds.h"
#include "serial/TerminalSpeeds.h"

struct CComPort::CLine {
    int fd;
    termios found;  // the line settings found at opening, put back at closing
};

namespace {
bool Configure(int fd, unsigned speed) {
    if (::ioctl(fd, TIOCEXCL) != 0) return false;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return false;
    termios applied{};
    // Raw 8E1: parity is sent but not checked on receive (no INPCK), no flow control either way.
    applied.c_cflag = CS8 | PARENB | CREAD | CLOCAL;
    applied.c_cc[VMIN] = 1;
    applied.c_cc[VTIME] = 0;
    if (::cfsetispeed(&applied, SpeedCodeOf(speed)) != 0 ||
        ::cfsetospeed(&applied, SpeedCodeOf(speed)) != 0 ||
        ::tcsetattr(fd, TCSANOW, &applied) != 0) {
        return false;
    }
    // A pseudo-terminal has no modem lines and refuses this; the line works without them.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &lines);
    return true;
}
}  // namespace

CComPort::CComPort(const char* path, unsigned speed)
    : path_(path != nullptr ? path : ""), speed_(CheckBaud(speed)) {}

CComPort::~CComPort() {
    Close();
}

ChannelOpening CComPort::Open() {
    // Not blocking on the open: without CLOCAL yet, a modem line could wait for carrier.
    const int fd = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return ChannelOpening::Refused;
    // TIOCEXCL keeps other programs out, but not the superuser; the lock also keeps out a second
    // open by this program, whoever runs it. A regular file or /dev/null opens as well, but is
    // no line to a modem: without terminal settings it is refused like a missing device.
    termios found{};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::tcgetattr(fd, &found) != 0) {
        ::close(fd);
        return ChannelOpening::Refused;
    }
    line_ = std::make_unique<CLine>(CLine{fd, found});
    if (Configure(fd, speed_)) return ChannelOpening::Open;
    Close();
    return ChannelOpening::Unsettled;
}

void CComPort::Close() {
    if (!line_) return;
    ::ioctl(line_->fd, TIOCNXCL);
    ::tcsetattr(line_->fd, TCSANOW, &line_->found);
    ::close(line_->fd);
    line_.reset();
}

bool CComPort::Purge() {
    return line_ && ::tcflush(line_->fd, TCIFLUSH) == 0 && ::tcflush(line_->fd, TCOFLUSH) == 0;
}

bool CComPort::Write(const CDataPackage& package) {
    if (!line_) return false;
    const std::uint8_t* next = package.Bytes().data();
    std::size_t left = package.Size();
    while (left > 0) {
        const ssize_t written = ::write(line_->fd, next, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

ChannelRead CComPort::ReadByte(std::uint8_t& byte, unsigned waitMs) {
    if (!line_) return ChannelRead::Lost;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // Rounded up, so a wait is never cut short by a fraction of a millisecond.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd waiting[] = {{line_->fd, POLLIN, 0}, {static_cast<int>(wake_.Native()), POLLIN, 0}};
        const int ready = ::poll(waiting, 2, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready < 0 && errno == EINTR) continue;
        // A stop request wins over a byte that came at the same moment.
        if (ready > 0 && (waiting[1].revents & POLLIN) != 0) return ChannelRead::Interrupted;
        if (ready == 0) return ChannelRead::Silence;
        if (ready < 0 || (waiting[0].revents & POLLIN) == 0) return ChannelRead::Lost;
        std::uint8_t received = 0;
        const ssize_t read = ::read(line_->fd, &received, 1);
        if (read == 1) {
            byte = received;
            return ChannelRead::Byte;
        }
        if (read < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        return ChannelRead::Lost;  // end of file or an error: the device has gone
    }
}
