#include "app/toolkit/Timer.h"

namespace {
constexpr int kDefaultIntervalMs = 1000;
}

TTimer::TTimer() {
    timer_.setInterval(kDefaultIntervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (OnTimer) OnTimer();
    });
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled) {
        timer_.start();
    } else {
        timer_.stop();
    }
}
