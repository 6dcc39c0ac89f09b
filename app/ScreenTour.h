#pragma once

#include <QString>

class TFormVeltara;

// Shows each screen of the window alone in turn and saves the window's picture as
// <folder>/<screen name>.png. Returns the number of pictures saved.
int SaveScreenshots(TFormVeltara& window, const QString& folder);
