#include "directory/LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "app/toolkit/Keys.h"

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
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

void TLinkLabel::keyPressEvent(QKeyEvent* event) {
    if (!ClickOnPressKey(event, OnClick)) QLabel::keyPressEvent(event);
}

void TLinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    PaintFocusFrame(*this, 0);
}
