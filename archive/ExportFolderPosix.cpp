#include "archive/ExportFolder.h"

#include <QDir>
#include <QStandardPaths>

std::string ExportFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    return QDir(documents).filePath("Vevo").toStdString();
}
