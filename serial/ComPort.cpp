#include "serial/ComPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "Utils/Format.h"
#include "app/Log.h"
#include "serial/Frame.h"
#include "serial/LineSpeeds.h"
#include "serial/LinkErrors.h"

namespace {
constexpr unsigned kFallbackSpeed = 300;
// Three characters of 11 bits (start, 8 data, parity, stop), in milliseconds times the speed.
constexpr unsigned kThreeCharacterBits = 33000;

std::string LogTextOf(const CDataPackage& package) {
    std::string text;
    text.reserve(package.Size() * 4);
    for (std::uint8_t byte : package.Bytes()) text += Format(" %02X ", byte);
    return text;
}
}  // namespace

CComPort::CComPort(const char* path, unsigned speed, const CLinkSettings& settings)
    : path_(path != nullptr ? path : ""), speed_(CheckBaud(speed)), settings_(settings) {
    Open();
}

CComPort::~CComPort() { Close(); }

unsigned CComPort::CheckBaud(unsigned speed) {
    return SpeedCodeOf(speed) != B0 ? speed : kFallbackSpeed;
}

void CComPort::Open() {
    if (!OpenDevice()) ReportLinkError(LinkErrorCannotOpen);
}

bool CComPort::OpenDevice() {
    // Not blocking on the open: without CLOCAL yet, a modem line could wait for carrier.
    fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    // TIOCEXCL keeps other programs out, but not the superuser; the lock also keeps out a second
    // open by this program, whoever runs it.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    if (!Configure()) Close();
    return true;
}

bool CComPort::Configure() {
    if (::ioctl(fd_, TIOCEXCL) != 0) return false;
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) return false;
    if (::tcgetattr(fd_, &found_) != 0) return false;
    haveFound_ = true;

    readInterval_ = kThreeCharacterBits / speed_ + readMargin_;
    applied_ = termios{};
    // Raw 8E1: parity is sent but not checked on receive (no INPCK), no flow control either way.
    applied_.c_cflag = CS8 | PARENB | CREAD | CLOCAL;
    applied_.c_cc[VMIN] = 1;
    applied_.c_cc[VTIME] = 0;
    if (::cfsetispeed(&applied_, SpeedCodeOf(speed_)) != 0 ||
        ::cfsetospeed(&applied_, SpeedCodeOf(speed_)) != 0 ||
        ::tcsetattr(fd_, TCSANOW, &applied_) != 0) {
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

void CComPort::ReportLinkError(int kind) {
    while (AskLinkRetry(kind)) {
        Close();
        if (OpenDevice()) return;
        kind = LinkErrorCannotOpen;
    }
}

void CComPort::SendPackage(const CDataPackage& package) {
    if (fd_ < 0) {
        // Even when Retry reopens the port, this request is not sent.
        ReportLinkError(LinkErrorLost);
        return;
    }
    // A late reply to an earlier request must not be taken for the reply to this one.
    ::tcflush(fd_, TCIFLUSH);
    ::tcflush(fd_, TCOFLUSH);
    if (!WriteAll(package)) Close();
}

bool CComPort::WriteAll(const CDataPackage& package) const {
    const std::uint8_t* next = package.Bytes().data();
    std::size_t left = package.Size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, next, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

void CComPort::ReceivePackage(CDataPackage& package) {
    if (fd_ < 0) {
        ReportLinkError(LinkErrorLost);
        return;
    }
    CDataPackage received("CDataPackage::CDataPackage DataPackage");
    std::uint8_t buffer = 0;
    const unsigned silenceWait = readInterval_ + settings_.silenceMs;
    unsigned wait = silenceWait;
    for (;;) {
        const ReadOutcome outcome = ReadByte(buffer, wait);
        // After the read that brought nothing the buffer still holds the last byte (or the
        // initial 0), and it goes in once more: the package convention the frame checks expect.
        received.Add(buffer);
        if (outcome == ReadOutcome::Lost) Close();
        if (outcome != ReadOutcome::Byte) break;
        // A complete frame ends the reply once the line stays quiet for one read interval; a
        // byte after it means more is coming, and then only the silence ends the reply.
        const bool frameEnds = settings_.endOnCompleteFrame && IsCompleteFrame(received);
        wait = frameEnds ? readInterval_ : silenceWait;
    }
    package.Clear();
    for (std::uint8_t byte : received.Bytes()) package.Add(byte);
    Log.WriteText(LogTextOf(received));
}

CComPort::ReadOutcome CComPort::ReadByte(std::uint8_t& byte, unsigned waitMs) const {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // Rounded up, so a wait is never cut short by a fraction of a millisecond.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return ReadOutcome::Silence;
        if (ready < 0 || (waiting.revents & POLLIN) == 0) return ReadOutcome::Lost;
        const ssize_t read = ::read(fd_, &byte, 1);
        if (read == 1) return ReadOutcome::Byte;
        if (read < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        return ReadOutcome::Lost;  // end of file or an error: the device has gone
    }
}
