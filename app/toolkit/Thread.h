#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

class TThread;

// Destroying an owned thread asks it to terminate and waits for its end first, while the
// derived object is still whole: its Execute may be using its members until then.
struct TThreadDeleter {
    void operator()(TThread* thread) const;
};
template <class T>
using TThreadPtr = std::unique_ptr<T, TThreadDeleter>;

// A worker thread: a derived class puts its work in Execute, which runs on a new thread as
// soon as the object is made by StartThread (owned by the caller) or StartFreeThread (the
// object deletes itself once Execute has returned).
class TThread {
public:
    TThread() = default;
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    template <class T, class... Args>
    static TThreadPtr<T> StartThread(Args&&... args) {
        TThreadPtr<T> thread(new T(std::forward<Args>(args)...));
        static_cast<TThread*>(thread.get())->Start(false);
        return thread;
    }
    template <class T, class... Args>
    static void StartFreeThread(Args&&... args) {
        static_cast<TThread*>(new T(std::forward<Args>(args)...))->Start(true);
    }

    // Asks Execute to stop; it reads Terminated at points of its choosing. TerminatedSet then
    // runs, on the asking thread, to wake a wait that would not look at Terminated soon.
    void Terminate() {
        terminated_ = true;
        TerminatedSet();
    }
    bool Terminated() const { return terminated_; }
    bool Finished() const;
    // Returns when Execute has ended. On the user-interface thread it keeps serving the
    // thread's synchronised calls meanwhile (and repaints, but takes no user input).
    void WaitFor();

protected:
    virtual void Execute() = 0;
    // Called by Terminate, on the thread that called it, while the object is whole.
    virtual void TerminatedSet() {}
    // Runs `method` on the user-interface thread and returns once it has run.
    void Synchronize(const std::function<void()>& method);

private:
    void Start(bool freeOnTerminate);
    void Run();

    std::thread thread_;
    std::atomic<bool> terminated_ = false;
    bool freeOnTerminate_ = false;
    mutable std::mutex mutex_;  // guards the two below
    bool finished_ = false;
    bool uiWaiting_ = false;  // the user-interface thread waits in WaitFor
};
