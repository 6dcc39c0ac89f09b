#include "app/toolkit/Look.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStyleFactory>

namespace {
constexpr const char* kStyle = "Fusion";  // the same look on every platform
}  // namespace

QString ApplyApplicationLook(const QStringList& families) {
    if (QStyle* style = QStyleFactory::create(kStyle)) QApplication::setStyle(style);
    QFont font;
    for (const QString& family : families) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFontPixelSize);
    QApplication::setFont(font);
    return QFontInfo(font).family();
}
