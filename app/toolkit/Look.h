#pragma once

#include <QString>
#include <QStringList>

// The program's font, 11 pixels high: the first of these the system has. Tahoma is Windows'
// own; elsewhere Liberation Sans (Debian's fonts-liberation2) has Tahoma's widths, so the
// screens keep their measures, and draws Cyrillic as it is written.
inline const QStringList kFontFamilies = {"Tahoma", "Liberation Sans"};
constexpr int kFontPixelSize = 11;

// Sets the application's style and font; call once the application object exists. Without any
// of `families`, the system's sans font serves. Returns the family in use.
QString ApplyApplicationLook(const QStringList& families = kFontFamilies);
