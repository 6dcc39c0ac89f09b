#include "Utils/WakeFlag.h"

#include <windows.h>

CWakeFlag::CWakeFlag()
    : native_(reinterpret_cast<std::intptr_t>(::CreateEventW(nullptr, TRUE, FALSE, nullptr))) {}

CWakeFlag::~CWakeFlag() {
    if (native_ != 0) ::CloseHandle(reinterpret_cast<HANDLE>(native_));
}

void CWakeFlag::Raise() {
    ::SetEvent(reinterpret_cast<HANDLE>(native_));
}

void CWakeFlag::Lower() {
    ::ResetEvent(reinterpret_cast<HANDLE>(native_));
}
