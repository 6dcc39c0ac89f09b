#pragma once

#include <QTimer>
#include <functional>

// A timer that ticks every Interval milliseconds (1000 unless set) while it is enabled.
class TTimer {
public:
    TTimer();

    bool Enabled() const { return timer_.isActive(); }
    void SetEnabled(bool enabled);
    int Interval() const { return timer_.interval(); }
    void SetInterval(int milliseconds) { timer_.setInterval(milliseconds); }

    std::function<void()> OnTimer;

private:
    QTimer timer_;
};
