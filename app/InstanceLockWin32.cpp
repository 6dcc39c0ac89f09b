#include "app/InstanceLock.h"

#include <windows.h>

#include "Utils/WideText.h"

CInstanceLock::CInstanceLock(const char* path) {
    // Opened without sharing: another copy's open fails with a sharing violation while this
    // handle lives, and the system closes it when the process ends, however it ends.
    const HANDLE file = CreateFileW(WideOf(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
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
