#pragma once

#include <QLabel>
#include <QString>
#include <functional>
#include <memory>

class QMovie;

// A picture from a PNG or GIF file, drawn transparently. An animated GIF plays while the
// picture is visible, at a speed in percent of its own (200 = twice as fast). A picture the
// operator clicks can take the keyboard too (SetKeyboardClicks): Tab reaches it, a dotted
// frame shows it, and Space or Enter clicks it.
class TImage : public QLabel {
public:
    explicit TImage(QWidget* parent);
    ~TImage() override;

    // The file's (first) picture, still. False when the file is missing or damaged.
    bool LoadPicture(const QString& path);
    bool LoadAnimation(const QString& path, int speedPercent);
    bool Animated() const { return movie_ != nullptr; }
    void SetKeyboardClicks();

    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<QMovie> movie_;
};
