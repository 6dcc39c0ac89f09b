#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>

// A panel used as a button: a caption on a background colour that can be set at run time, a
// soft bevel, the hand cursor, and a hover colour while the pointer is over it. Tab reaches
// it, a dotted frame shows it has the keyboard, and Space or Enter presses it. Disabled, it
// greys its caption and takes no clicks.
class TPanelButton : public QWidget {
public:
    TPanelButton(const QString& caption, QWidget* parent);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QColor Color() const { return color_; }
    void SetColor(QColor color);
    void SetFontColor(QColor color);
    // An invalid colour turns the hover feedback off.
    void SetHoverColor(QColor color);
    // The click the operator makes; callable directly, as the handlers call each other.
    void Click();

    std::function<void()> OnClick;
    std::function<void(QPoint)> OnMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString caption_;
    QColor color_;
    QColor fontColor_;
    QColor hoverColor_;
    bool hovered_ = false;
    bool pressed_ = false;
};
