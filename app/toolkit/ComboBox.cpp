#include "app/toolkit/ComboBox.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

namespace {
// The open list's frame and margins beside its widest text.
constexpr int kListPadding = 24;
}  // namespace

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent) {}

int TComboBox::TextRoom() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return field.width() - 2;
}

void TComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideRight, TextRoom());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

bool TComboBox::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QComboBox::event(event);
    const QString text = currentText();
    if (fontMetrics().horizontalAdvance(text) > TextRoom()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, this);
    } else {
        QToolTip::hideText();
    }
    return true;
}

void TComboBox::showPopup() {
    int widest = 0;
    for (int item = 0; item < count(); ++item)
        widest = std::max(widest, view()->fontMetrics().horizontalAdvance(itemText(item)));
    int wanted = widest + kListPadding + view()->verticalScrollBar()->sizeHint().width();
    if (const QScreen* shown = screen())
        wanted = std::min(wanted, shown->availableGeometry().width());
    view()->setMinimumWidth(std::max(width(), wanted));
    QComboBox::showPopup();
}
