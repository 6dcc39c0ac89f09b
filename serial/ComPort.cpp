#include "serial/ComPort.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "serial/DescriptorIo.h"
#include "serial/LineSpeeds.h"

CComPort::CComPort(const char* path, unsigned speed)
    : path_(path != nullptr ? path : ""), speed_(CheckBaud(speed)) {}

CComPort::~CComPort() {
    Close();
}

ChannelOpening CComPort::Open() {
    // Not blocking on the open: without CLOCAL yet, a modem line could wait for carrier.
    fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return ChannelOpening::Refused;
    // TIOCEXCL keeps other programs out, but not the superuser; the lock also keeps out a second
    // open by this program, whoever runs it. A regular file or /dev/null opens as well, but is
    // no line to a modem: without terminal settings it is refused like a missing device.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || ::tcgetattr(fd_, &found_) != 0) {
        ::close(fd_);
        fd_ = -1;
        return ChannelOpening::Refused;
    }
    haveFound_ = true;
    if (Configure()) return ChannelOpening::Open;
    Close();
    return ChannelOpening::Unsettled;
}

bool CComPort::Configure() {
    if (::ioctl(fd_, TIOCEXCL) != 0) return false;
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) return false;
    termios applied{};
    // Raw 8E1: parity is sent but not checked on receive (no INPCK), no flow control either way.
    applied.c_cflag = CS8 | PARENB | CREAD | CLOCAL;
    applied.c_cc[VMIN] = 1;
    applied.c_cc[VTIME] = 0;
    if (::cfsetispeed(&applied, SpeedCodeOf(speed_)) != 0 ||
        ::cfsetospeed(&applied, SpeedCodeOf(speed_)) != 0 ||
        ::tcsetattr(fd_, TCSANOW, &applied) != 0) {
        return false;
    }
    // A pseudo-terminal has no modem lines and refuses this; the line works without them.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIC, &lines);
    return true;
}

void CComPort::Close() {
    if (fd_ < 0) return;
    ::ioctl(fd_, TIOCNXCL);
    if (haveFound_) ::tcsetattr(fd_, TCSANOW, &found_);
    haveFound_ = false;
    ::close(fd_);
    fd_ = -1;
}

bool CComPort::Purge() {
    return ::tcflush(fd_, TCIFLUSH) == 0 && ::tcflush(fd_, TCOFLUSH) == 0;
}

bool CComPort::Write(const CDataPackage& package) {
    return WriteWhole(fd_, package, ::write);
}

ChannelRead CComPort::ReadByte(std::uint8_t& byte, unsigned waitMs) {
    return ReadByteWithin(fd_, wake_, byte, waitMs);
}
