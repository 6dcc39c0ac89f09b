#pragma once

#include <cstdint>

// A flag one thread raises to wake another out of a wait on a link, whenever it was raised: it
// stays raised until lowered. Waits on the link wait on the flag's native object beside their
// own: an eventfd that stays readable on POSIX, a manual-reset event on Windows.
class CWakeFlag {
public:
    CWakeFlag();
    ~CWakeFlag();
    CWakeFlag(const CWakeFlag&) = delete;
    CWakeFlag& operator=(const CWakeFlag&) = delete;

    void Raise();
    void Lower();
    // The descriptor or handle to wait on; -1 (POSIX) or 0 (Windows) when none could be made:
    // waits then cannot be woken.
    std::intptr_t Native() const { return native_; }

private:
    std::intptr_t native_;
};
