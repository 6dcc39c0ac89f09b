#include "app/toolkit/Picture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QMovie>
#include <QPixmap>

#include "app/toolkit/Keys.h"

TImage::TImage(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
}

TImage::~TImage() = default;

bool TImage::LoadPicture(const QString& path) {
    setMovie(nullptr);
    movie_.reset();
    QPixmap picture;
    if (!picture.load(path)) return false;
    setPixmap(picture);
    return true;
}

bool TImage::LoadAnimation(const QString& path, int speedPercent) {
    setMovie(nullptr);
    auto movie = std::make_unique<QMovie>(path);
    if (!movie->isValid()) {
        movie_.reset();
        return false;
    }
    movie->setSpeed(speedPercent);
    movie_ = std::move(movie);
    setMovie(movie_.get());
    if (isVisible()) movie_->start();
    return true;
}

void TImage::SetKeyboardClicks() {
    setFocusPolicy(Qt::StrongFocus);
}

void TImage::keyPressEvent(QKeyEvent* event) {
    if (!ClickOnPressKey(event, OnClick)) QLabel::keyPressEvent(event);
}

void TImage::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    PaintFocusFrame(*this);
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick) {
        OnClick();
    }
}

void TImage::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    if (movie_) movie_->start();
}

void TImage::hideEvent(QHideEvent* event) {
    if (movie_) movie_->stop();
    QLabel::hideEvent(event);
}
