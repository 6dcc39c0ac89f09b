#pragma once

#include <string>

// The C conventions for numbers on the calling thread while the object lives: the window sets
// the process locale from the user's, where the decimal separator may be a comma, but
// statements, stored readings and files write numbers with a point. Only the calling thread is
// switched, and only for the object's life: other threads and the rest of the program keep
// theirs.
class CThreadCLocale {
public:
    CThreadCLocale();
    ~CThreadCLocale();
    CThreadCLocale(const CThreadCLocale&) = delete;
    CThreadCLocale& operator=(const CThreadCLocale&) = delete;

private:
    // What puts the thread back: its locale object (POSIX), or its locale mode and name
    // (Windows, where nothing was switched when the thread's conventions were C already).
    void* previous_ = nullptr;
    int previousMode_ = 0;
    std::string previousName_;
    bool switched_ = false;
};
