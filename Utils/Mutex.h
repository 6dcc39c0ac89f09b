#pragma once

#include <mutex>

// The program's lock: recursive like the critical section the code was designed around,
// so a holder may lock again on the same thread.
class Mutex {
public:
    virtual ~Mutex() = default;
    void Lock() { mutex_.lock(); }
    void Unlock() { mutex_.unlock(); }

private:
    std::recursive_mutex mutex_;
};
