#include "app/ShownProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {
// Watches every paint of the application: the screen's own panels may cover it wholly, so the
// first paint of the screen or of anything on it counts.
class CShownProbe : public QObject {
public:
    explicit CShownProbe(QWidget& screen) : QObject(&screen), screen_(&screen) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget != nullptr &&
            (widget == screen_ || screen_->isAncestorOf(widget))) {
            QCoreApplication::instance()->removeEventFilter(this);
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        return false;
    }

private:
    QWidget* screen_;
};
}  // namespace

void QuitWhenShown(QWidget& screen) {
    new CShownProbe(screen);
}
