#include "Utils/WakeFlag.h"

#include <sys/eventfd.h>
#include <unistd.h>

CWakeFlag::CWakeFlag() : native_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CWakeFlag::~CWakeFlag() {
    if (native_ >= 0) ::close(static_cast<int>(native_));
}

void CWakeFlag::Raise() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(static_cast<int>(native_), &one, sizeof one);
}

void CWakeFlag::Lower() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(static_cast<int>(native_), &count, sizeof count);
}
