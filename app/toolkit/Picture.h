#pragma once

#include <QLabel>
#include <QString>
#include <functional>
#include <memory>

class QMovie;

// A picture from a PNG or GIF file, drawn transparently. An animated GIF plays while the
// picture is visible, at a speed in percent of its own (200 = twice as fast).
class TImage : public QLabel {
public:
    explicit TImage(QWidget* parent);
    ~TImage() override;

    // The file's (first) picture, still. False when the file is missing or damaged.
    bool LoadPicture(const QString& path);
    bool LoadAnimation(const QString& path, int speedPercent);
    bool Animated() const { return movie_ != nullptr; }

    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<QMovie> movie_;
};
