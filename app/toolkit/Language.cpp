#include "app/toolkit/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace {
constexpr const char* kQtTranslation = "qtbase_uk";
}  // namespace

QStringList QtTranslationFolders() {
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
            QDir(QCoreApplication::applicationDirPath()).filePath("translations")};
}

bool SpeakUkrainian(const QStringList& folders) {
    QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
    // One translation for the life of the application, replaced by a later call.
    static QTranslator* installed = nullptr;
    for (const QString& folder : folders) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(kQtTranslation, folder)) continue;
        if (installed != nullptr) QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = translator.release();
        QCoreApplication::installTranslator(installed);
        return true;
    }
    return false;
}
