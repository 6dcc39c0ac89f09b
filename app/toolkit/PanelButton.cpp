#include "app/toolkit/PanelButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/toolkit/Keys.h"

namespace {
constexpr QRgb kDefaultColor = 0xFFFFFF;
constexpr QRgb kDefaultHoverColor = 0xE9E9E9;
constexpr QRgb kDefaultFontColor = 0x000000;
constexpr qreal kCornerRadius = 3;

// A disabled caption: half-way between its colour and the face's.
QColor Halfway(const QColor& from, const QColor& to) {
    return QColor::fromRgbF((from.redF() + to.redF()) / 2, (from.greenF() + to.greenF()) / 2,
                            (from.blueF() + to.blueF()) / 2);
}
}  // namespace

TPanelButton::TPanelButton(const QString& caption, QWidget* parent)
    : QWidget(parent),
      caption_(caption),
      color_(kDefaultColor),
      fontColor_(kDefaultFontColor),
      hoverColor_(kDefaultHoverColor) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

void TPanelButton::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void TPanelButton::SetColor(QColor color) {
    color_ = color;
    update();
}

void TPanelButton::SetFontColor(QColor color) {
    fontColor_ = color;
    update();
}

void TPanelButton::SetHoverColor(QColor color) {
    hoverColor_ = color;
    update();
}

void TPanelButton::Click() {
    if (isEnabled() && OnClick) OnClick();
}

void TPanelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor face = hovered_ && hoverColor_.isValid() ? hoverColor_ : color_;
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    // The soft bevel: a face a shade lighter at the top than at the bottom, a quiet outline,
    // and the light edge moved down while pressed.
    QLinearGradient shade(outer.topLeft(), outer.bottomLeft());
    shade.setColorAt(0, pressed_ ? face.darker(106) : face.lighter(104));
    shade.setColorAt(1, pressed_ ? face.lighter(104) : face.darker(106));
    painter.setPen(QPen(face.darker(135), 1));
    painter.setBrush(shade);
    painter.drawRoundedRect(outer, kCornerRadius, kCornerRadius);
    painter.setPen(QPen(QColor(255, 255, 255, pressed_ ? 40 : 110), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outer.adjusted(1, 1, -1, -1), kCornerRadius - 1, kCornerRadius - 1);

    painter.setPen(isEnabled() ? fontColor_ : Halfway(fontColor_, face));
    painter.setFont(font());
    painter.drawText(rect().translated(0, pressed_ ? 1 : 0), Qt::AlignCenter | Qt::TextWordWrap,
                     caption_);
    if (hasFocus()) DrawFocusFrame(painter, rect(), fontColor_);
}

void TPanelButton::enterEvent(QEnterEvent*) {
    hovered_ = true;
    update();
}

void TPanelButton::leaveEvent(QEvent*) {
    hovered_ = false;
    pressed_ = false;
    update();
}

void TPanelButton::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) OnMouseMove(event->position().toPoint());
}

void TPanelButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    update();
}

void TPanelButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    update();
    if (rect().contains(event->position().toPoint())) Click();
}

void TPanelButton::keyPressEvent(QKeyEvent* event) {
    if (!IsPressKey(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Space clicks on its release, as a button does; Enter at once.
    if (event->key() == Qt::Key_Space) {
        pressed_ = true;
        update();
        return;
    }
    Click();
}

void TPanelButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !pressed_) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    pressed_ = false;
    update();
    Click();
}

void TPanelButton::focusOutEvent(QFocusEvent* event) {
    pressed_ = false;
    QWidget::focusOutEvent(event);
}

void TPanelButton::changeEvent(QEvent* event) {
    // A disabled button shows the plain pointer: there is nothing to click.
    if (event->type() == QEvent::EnabledChange)
        setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::changeEvent(event);
}
