#pragma once

#include <QString>

class TFormVeltara;

// A screen with views of its own (sub-screens, forms) to be pictured one by one.
class CTourStops {
public:
    virtual ~CTourStops() = default;
    virtual int TourStopCount() const = 0;
    // Brings the screen into view `stop` and returns that view's name.
    virtual QString ShowTourStop(int stop) = 0;
};

// Shows each screen of the window alone in turn and saves the window's picture as
// <folder>/<screen name>.png, then each view of a screen that has CTourStops as
// <folder>/<view name>.png; all at the window's smallest size, then again over the whole
// screen as <name>-maximised.png. A working directory without buildings gets a few buildings and
// apartments first, so the directory's grids are not empty. Returns the number of pictures
// saved.
int SaveScreenshots(TFormVeltara& window, const QString& folder);
