#include "app/toolkit/Panel.h"

#include <QWidget>

QWidget* NewPanel(QWidget* parent, QColor color) {
    auto* panel = new QWidget(parent);
    QPalette filled = panel->palette();
    filled.setColor(QPalette::Window, color);
    panel->setPalette(filled);
    panel->setAutoFillBackground(true);
    return panel;
}
