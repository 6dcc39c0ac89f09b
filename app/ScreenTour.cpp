#include "app/ScreenTour.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>

#include "app/FormVeltara.h"

int SaveScreenshots(TFormVeltara& window, const QString& folder) {
    QDir().mkpath(folder);
    const std::vector<QWidget*>& screens = window.Screens();
    int saved = 0;
    for (std::size_t index = 0; index < screens.size(); ++index) {
        for (QWidget* screen : screens) screen->setVisible(screen == screens[index]);
        QCoreApplication::processEvents();
        QString name = screens[index]->objectName();
        if (name.isEmpty()) name = QString("screen%1").arg(index + 1);
        saved += window.grab().save(QDir(folder).filePath(name + ".png")) ? 1 : 0;
    }
    return saved;
}
