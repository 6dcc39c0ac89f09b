#include <windows.h>

#include <string>

#include "app/InstanceLock.h"

namespace {
std::wstring Wide(const char* utf8) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}
}  // namespace

CInstanceLock::CInstanceLock(const char* path) {
    // Opened without sharing: another copy's open fails with a sharing violation while this
    // handle lives, and the system closes it when the process ends, however it ends.
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        state_ = GetLastError() == ERROR_SHARING_VIOLATION ? InstanceLockState::TakenByAnother
                                                           : InstanceLockState::NotMade;
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    state_ = InstanceLockState::Held;
}

CInstanceLock::~CInstanceLock() {
    // The file stays, as on POSIX.
    if (state_ == InstanceLockState::Held) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}
