#pragma once

#include <QComboBox>

// A drop-down list (no typing). A chosen text too long for the box ends in "…" and shows
// whole as a tooltip; the open list is as wide as its longest item, within the screen.
class TComboBox : public QComboBox {
public:
    explicit TComboBox(QWidget* parent = nullptr);

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The room for the chosen text inside the box.
    int TextRoom() const;
};
