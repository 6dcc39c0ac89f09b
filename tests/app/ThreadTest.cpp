#include <gtest/gtest.h>

#include <QTest>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

#include "app/toolkit/Thread.h"
#include "app/toolkit/UiThread.h"

namespace {
// Ends the binary with a message instead of hanging it, should a wait never return.
class CDeadlockGuard {
public:
    CDeadlockGuard()
        : guard_([this] {
              if (done_.get_future().wait_for(std::chrono::seconds(30)) !=
                  std::future_status::ready) {
                  std::fputs("deadlock: the thread was never released\n", stderr);
                  std::_Exit(1);
              }
          }) {}
    ~CDeadlockGuard() {
        done_.set_value();
        guard_.join();
    }

private:
    std::promise<void> done_;
    std::thread guard_;
};

// Synchronises until terminated, telling the test before each call.
class CSynchronizingThread : public TThread {
public:
    CSynchronizingThread(std::promise<void>& aboutToSynchronize, std::atomic<int>& served)
        : aboutToSynchronize_(aboutToSynchronize), served_(served) {}

protected:
    void Execute() override {
        bool told = false;
        while (!Terminated()) {
            if (!told) aboutToSynchronize_.set_value();
            told = true;
            Synchronize([this] {
                EXPECT_TRUE(IsUiThread());
                ++served_;
            });
        }
        // The last word after the stop, as the polling thread resets its screen.
        Synchronize([this] { ++served_; });
    }

private:
    std::promise<void>& aboutToSynchronize_;
    std::atomic<int>& served_;
};

class CCountingThread : public TThread {
public:
    CCountingThread(int calls, std::vector<int>& seen) : calls_(calls), seen_(seen) {}

protected:
    void Execute() override {
        for (int call = 0; call < calls_; ++call)
            Synchronize([this, call] { seen_.push_back(call); });
    }

private:
    int calls_;
    std::vector<int>& seen_;
};

class CSelfFreeingThread : public TThread {
public:
    explicit CSelfFreeingThread(std::atomic<bool>& destroyed) : destroyed_(destroyed) {}
    ~CSelfFreeingThread() override { destroyed_ = true; }

protected:
    void Execute() override {}

private:
    std::atomic<bool>& destroyed_;
};

class CUiSynchronizeThread : public TThread {
public:
    using TThread::Synchronize;

protected:
    void Execute() override {}
};
}  // namespace

TEST(Thread, DestroyingWhileTheWorkerWaitsInSynchronizeServesTheCallAndEnds) {
    CDeadlockGuard guard;
    std::promise<void> aboutToSynchronize;
    std::atomic<int> served = 0;
    auto thread = TThread::StartThread<CSynchronizingThread>(aboutToSynchronize, served);
    // The user-interface thread blocks here, so the worker is inside Synchronize, unserved,
    // when the destruction starts.
    aboutToSynchronize.get_future().wait();
    thread.reset();
    EXPECT_GE(served.load(), 2) << "the pending call and the last word were both served";
}

TEST(Thread, EverySynchronisedCallRunsInOrderWhileTheOwnerWaits) {
    CDeadlockGuard guard;
    std::vector<int> seen;
    auto thread = TThread::StartThread<CCountingThread>(500, seen);
    thread->WaitFor();
    ASSERT_EQ(seen.size(), 500u);
    for (int call = 0; call < 500; ++call) ASSERT_EQ(seen[call], call);
    EXPECT_TRUE(thread->Finished());
    EXPECT_FALSE(thread->Terminated()) << "waiting alone asks nothing of the thread";
    thread->WaitFor();  // a second wait returns at once
}

TEST(Thread, DestroyingAsksTheThreadToTerminate) {
    CDeadlockGuard guard;
    std::promise<void> aboutToSynchronize;
    std::atomic<int> served = 0;
    auto thread = TThread::StartThread<CSynchronizingThread>(aboutToSynchronize, served);
    aboutToSynchronize.get_future().wait();
    thread->Terminate();
    EXPECT_TRUE(thread->Terminated());
    thread->WaitFor();
    EXPECT_TRUE(thread->Finished());
}

TEST(Thread, AFreeOnTerminateThreadDeletesItselfWhenDone) {
    std::atomic<bool> destroyed = false;
    TThread::StartFreeThread<CSelfFreeingThread>(destroyed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return destroyed.load(); }, 10000));
}

TEST(Thread, SynchronizeOnTheUserInterfaceThreadRunsDirectly) {
    CDeadlockGuard guard;
    auto thread = TThread::StartThread<CUiSynchronizeThread>();
    bool ran = false;
    thread->Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}
