#pragma once

#include <QLabel>
#include <functional>

// A text that acts as a link: bold and underlined at 7 points, one pixel lower, while the
// pointer is over it; plain at 8 points otherwise. Tab reaches it, a dotted frame shows it,
// and Space or Enter clicks it.
class TLinkLabel : public QLabel {
public:
    TLinkLabel(const QString& text, QWidget* parent);

    std::function<void()> OnClick;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetLook(bool hovered);
};
