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
    if (waitingLoop_ != nullptr) {
        QEventLoop* loop = waitingLoop_;
        QMetaObject::invokeMethod(
            loop, [loop] { loop->quit(); }, Qt::QueuedConnection);
    }
}

bool TThread::Finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

void TThread::WaitFor() {
    if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) return;
    if (QCoreApplication::instance() != nullptr && IsUiThread()) {
        // Synchronised calls arrive as posted events; the loop serves them as they come and
        // ends on the thread's last word, so no call waits for a polling tick.
        QEventLoop loop;
        std::unique_lock lock(mutex_);
        while (!finished_) {  // again if something else ended the loop, such as a quit
            waitingLoop_ = &loop;
            lock.unlock();
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            lock.lock();
        }
        waitingLoop_ = nullptr;
    }
    thread_.join();
}

void TThread::Synchronize(const std::function<void()>& method) {
    RunOnUiThread(method);
}
