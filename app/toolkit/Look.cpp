#include "app/toolkit/Look.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStyleFactory>

namespace {
constexpr const char* kStyle = "Fusion";  // the same look on every platform
constexpr const char* kFallbackFamily = "DejaVu Sans";

QString LoadTahoma(const QString& path) {
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}
}  // namespace

QString ApplyApplicationLook(const QString& tahomaPath) {
    if (QStyle* style = QStyleFactory::create(kStyle)) QApplication::setStyle(style);
    QString family = LoadTahoma(tahomaPath);
    QFont font(family.isEmpty() ? QString(kFallbackFamily) : family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFontPixelSize);
    QApplication::setFont(font);
    return QFontInfo(font).family();
}
