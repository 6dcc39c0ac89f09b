#include "app/toolkit/Thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include "app/toolkit/UiThread.h"

void TThreadDeleter::operator()(TThread* thread) const {
    thread->Terminate();
    thread->WaitFor();
    delete thread;
}

TThread::~TThread() {
    // A thread deleted without the deleter must still not outlive its object.
    if (thread_.joinable()) WaitFor();
}

void TThread::Start(bool freeOnTerminate) {
    // The thread waits for this lock: a quick Execute must not free the object before its
    // std::thread is stored and, when freeing itself, detached.
    std::lock_guard lock(mutex_);
    freeOnTerminate_ = freeOnTerminate;
    thread_ = std::thread(&TThread::Run, this);
    if (freeOnTerminate_) thread_.detach();
}

void TThread::Run() {
    { std::lock_guard started(mutex_); }
    Execute();
    if (freeOnTerminate_) {
        delete this;
        return;
    }
    std::lock_guard lock(mutex_);
    finished_ = true;
    // Wakes the waiting user-interface thread, which may be asleep for want of events.
    if (uiWaiting_) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    }
}

bool TThread::Finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

void TThread::WaitFor() {
    if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) return;
    if (QCoreApplication::instance() != nullptr && IsUiThread()) {
        // Synchronised calls arrive as posted events, served here as they come until the
        // thread's last word. Not by a local event loop: once the application is quitting, a
        // loop's exec returns at once without serving anything, and the thread would wait for
        // its call for ever.
        {
            std::lock_guard lock(mutex_);
            uiWaiting_ = true;
        }
        while (!Finished()) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                            QEventLoop::WaitForMoreEvents);
        }
        std::lock_guard lock(mutex_);
        uiWaiting_ = false;
    }
    thread_.join();
}

void TThread::Synchronize(const std::function<void()>& method) {
    RunOnUiThread(method);
}
