#pragma once

#include <QString>

// The program's font: Tahoma, 11 pixels high, loaded from Debian's fonts-wine copy when it is
// present (it carries Cyrillic), else the system's sans font.
constexpr const char* kTahomaPath = "/usr/share/wine/fonts/tahoma.ttf";
constexpr int kFontPixelSize = 11;

// Sets the application's style and font; call once the application object exists. Returns
// the family in use.
QString ApplyApplicationLook(const QString& tahomaPath = kTahomaPath);
