#include "directory/LinkLabel.h"

#include <QMouseEvent>

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    SetLook(false);
}

void TLinkLabel::SetLook(bool hovered) {
    QFont look = font();
    look.setPointSize(hovered ? 7 : 8);
    look.setBold(hovered);
    look.setUnderline(hovered);
    setFont(look);
}

void TLinkLabel::enterEvent(QEnterEvent*) {
    SetLook(true);
    move(x(), y() + 1);
}

void TLinkLabel::leaveEvent(QEvent*) {
    SetLook(false);
    move(x(), y() - 1);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick) {
        OnClick();
    }
}
