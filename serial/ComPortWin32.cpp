#include "serial/ComPort.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "Utils/WideText.h"
#include "serial/LineSpeeds.h"

namespace {
constexpr DWORD kQueueBytes = 1500;

// "COM12" opens as \\.\COM12: without the device prefix only COM1 to COM9 are found.
constexpr std::string_view kDevicePrefix = "\\\\.\\";
std::string DevicePath(const std::string& path) {
    return path.find('\\') == std::string::npos ? std::string(kDevicePrefix) + path : path;
}

// Under Wine a COM port is a Unix device that no sharing mode keeps to one opener; the named
// claim keeps out a second open by this program, as the descriptor lock does on POSIX. On
// Windows the exclusive open already refuses it.
HANDLE Claim(const std::string& path) {
    std::string name = path.starts_with(kDevicePrefix) ? path.substr(kDevicePrefix.size()) : path;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    std::replace(name.begin(), name.end(), '\\', '/');
    HANDLE claim = ::CreateMutexW(nullptr, FALSE, WideOf("Local\\Vevo.port." + name).c_str());
    if (claim != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(claim);
        return nullptr;
    }
    return claim;
}

// 8E1 at `speed`, no flow control, DTR and RTS held off; parity is sent but not checked.
// Windows takes binary transfers only, so fBinary is set.
DCB LineSettings(unsigned speed) {
    DCB applied{};
    applied.DCBlength = sizeof applied;
    applied.BaudRate = speed;
    applied.fBinary = TRUE;
    applied.fDtrControl = DTR_CONTROL_DISABLE;
    applied.fRtsControl = RTS_CONTROL_DISABLE;
    applied.ByteSize = 8;
    applied.Parity = EVENPARITY;
    applied.StopBits = ONESTOPBIT;
    return applied;
}
}  // namespace

struct CComPort::CLine {
    HANDLE handle = INVALID_HANDLE_VALUE;
    HANDLE claim = nullptr;
    // Each signals the end of an overlapped write or one-byte read.
    HANDLE written = nullptr;
    HANDLE read = nullptr;
    DCB found{};  // the line settings found at opening, put back at closing
    bool haveFound = false;
    // Bytes taken off the driver's queue in one read and not handed over yet: a read per byte
    // costs more than a byte's time on the line under Wine, and a reply would fall behind.
    std::uint8_t taken[kQueueBytes];
    DWORD takenCount = 0;
    DWORD takenNext = 0;

    ~CLine() {
        if (handle != INVALID_HANDLE_VALUE) {
            if (haveFound) ::SetCommState(handle, &found);
            ::CloseHandle(handle);
        }
        for (HANDLE each : {claim, written, read}) {
            if (each != nullptr) ::CloseHandle(each);
        }
    }
};

CComPort::CComPort(const char* path, unsigned speed)
    : path_(path != nullptr ? path : ""), speed_(CheckBaud(speed)) {}

CComPort::~CComPort() {
    Close();
}

ChannelOpening CComPort::Open() {
    auto line = std::make_unique<CLine>();
    line->claim = Claim(path_);
    if (line->claim == nullptr) return ChannelOpening::Refused;
    line->handle =
        ::CreateFileW(WideOf(DevicePath(path_)).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (line->handle == INVALID_HANDLE_VALUE) return ChannelOpening::Refused;
    // A file or another device opens as well, but has no line settings: it is no serial port.
    line->found.DCBlength = sizeof line->found;
    if (!::GetCommState(line->handle, &line->found)) return ChannelOpening::Refused;
    line->haveFound = true;
    line->written = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    line->read = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DCB applied = LineSettings(speed_);
    // The reads wait for their byte without a time-out of the driver's: ReadByte bounds them.
    COMMTIMEOUTS timeouts{};
    const bool settled = line->written != nullptr && line->read != nullptr &&
                         ::SetupComm(line->handle, kQueueBytes, kQueueBytes) &&
                         ::SetCommState(line->handle, &applied) &&
                         ::SetCommTimeouts(line->handle, &timeouts);
    if (!settled) return ChannelOpening::Unsettled;
    line_ = std::move(line);
    return ChannelOpening::Open;
}

void CComPort::Close() {
    line_.reset();
}

bool CComPort::Purge() {
    if (!line_) return false;
    line_->takenCount = line_->takenNext = 0;
    return ::PurgeComm(line_->handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

bool CComPort::Write(const CDataPackage& package) {
    if (!line_) return false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = line_->written;
    ::ResetEvent(line_->written);
    const auto size = static_cast<DWORD>(package.Size());
    DWORD written = 0;
    if (!::WriteFile(line_->handle, package.Bytes().data(), size, nullptr, &overlapped) &&
        ::GetLastError() != ERROR_IO_PENDING) {
        return false;
    }
    return ::GetOverlappedResult(line_->handle, &overlapped, &written, TRUE) && written == size;
}

ChannelRead CComPort::ReadByte(std::uint8_t& byte, unsigned waitMs) {
    if (!line_) return ChannelRead::Lost;
    const HANDLE wake = reinterpret_cast<HANDLE>(wake_.Native());
    if (wake != nullptr && ::WaitForSingleObject(wake, 0) == WAIT_OBJECT_0)
        return ChannelRead::Interrupted;
    if (line_->takenNext < line_->takenCount) {
        byte = line_->taken[line_->takenNext++];
        return ChannelRead::Byte;
    }
    // Whatever the driver holds already comes in one read, which ends at once.
    COMSTAT status{};
    DWORD errors = 0;
    if (!::ClearCommError(line_->handle, &errors, &status)) return ChannelRead::Lost;
    if (status.cbInQue > 0) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = line_->read;
        ::ResetEvent(line_->read);
        const DWORD wanted = std::min<DWORD>(status.cbInQue, kQueueBytes);
        DWORD got = 0;
        if ((!::ReadFile(line_->handle, line_->taken, wanted, nullptr, &overlapped) &&
             ::GetLastError() != ERROR_IO_PENDING) ||
            !::GetOverlappedResult(line_->handle, &overlapped, &got, TRUE) || got == 0) {
            return ChannelRead::Lost;
        }
        line_->takenCount = got;
        line_->takenNext = 1;
        byte = line_->taken[0];
        return ChannelRead::Byte;
    }
    // Else one byte is waited for.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = line_->read;
        ::ResetEvent(line_->read);
        std::uint8_t received = 0;
        if (!::ReadFile(line_->handle, &received, 1, nullptr, &overlapped) &&
            ::GetLastError() != ERROR_IO_PENDING) {
            return ChannelRead::Lost;
        }
        // Rounded up, so a wait is never cut short by a fraction of a millisecond.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        const DWORD ms = left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
        // The read's own event last: the wake flag, when there is one, comes first.
        HANDLE waiting[2];
        DWORD count = 0;
        if (wake != nullptr) waiting[count++] = wake;
        waiting[count++] = line_->read;
        const DWORD ready = ::WaitForMultipleObjects(count, waiting, FALSE, ms);
        const bool stopped = wake != nullptr && ready == WAIT_OBJECT_0;
        // A read the wait gave up on is cancelled, and its end awaited: a byte may have come
        // meanwhile.
        const bool gaveUp = ready != WAIT_OBJECT_0 + count - 1;
        if (gaveUp) ::CancelIoEx(line_->handle, &overlapped);
        DWORD got = 0;
        const bool done = ::GetOverlappedResult(line_->handle, &overlapped, &got, TRUE);
        // A stop request wins over a byte that came at the same moment.
        if (stopped) return ChannelRead::Interrupted;
        if (done && got == 1) {
            byte = received;
            return ChannelRead::Byte;
        }
        if (!done && ::GetLastError() != ERROR_OPERATION_ABORTED) return ChannelRead::Lost;
        if (gaveUp || Clock::now() >= deadline) return ChannelRead::Silence;
    }
}
