#include "app/toolkit/UiThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

bool IsUiThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application == nullptr || QThread::currentThread() == application->thread();
}

void RunOnUiThread(const std::function<void()>& call) {
    if (IsUiThread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), call, Qt::BlockingQueuedConnection);
}
