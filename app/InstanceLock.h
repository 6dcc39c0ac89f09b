#pragma once

#include <cstdint>

// What taking the working folder came to.
enum class InstanceLockState {
    Held,            // this copy of the program works in the folder
    TakenByAnother,  // another copy works in it
    NotMade,         // the lock file could not be made (a folder without the right to write)
};

// One copy of the program per working folder: a lock on a file beside local.db, held while
// the object lives. The system lets go of it when the process ends, however it ends, so a
// crash leaves nothing to clear. One implementation per platform beside this header.
class CInstanceLock {
public:
    explicit CInstanceLock(const char* path);
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    InstanceLockState State() const { return state_; }

private:
    std::intptr_t handle_ = -1;  // the platform's open file, held locked
    InstanceLockState state_ = InstanceLockState::NotMade;
};
