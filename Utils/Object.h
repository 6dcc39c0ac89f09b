#pragma once

#include "Utils/Mutex.h"

// Root of the program's own class tree.
class CObject {};

// An object that guards itself with its own lock.
class CObjectLockable : public CObject {
public:
    virtual ~CObjectLockable() = default;
    void Lock() { mutex_.Lock(); }
    void Unlock() { mutex_.Unlock(); }

private:
    Mutex mutex_;
};
