#pragma once

#include <QColor>

class QWidget;

// A plain panel filled with one colour, as the screens' holders and backgrounds are.
QWidget* NewPanel(QWidget* parent, QColor color = Qt::white);
