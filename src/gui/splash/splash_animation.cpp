#include "splash/splash_animation.h"

#include <QPainter>
#include <algorithm>

namespace parvex {

SplashAnimation::SplashAnimation(int frame_count, int interval_ms, QWidget* parent)
    : QWidget(parent), frame_count_(std::max(1, frame_count)) {
    setAttribute(Qt::WA_TranslucentBackground);
    timer_.setInterval(interval_ms);
    connect(&timer_, &QTimer::timeout, this, &SplashAnimation::advance);
}

void SplashAnimation::start() {
    running_ = true;
    updateTimer();
}

void SplashAnimation::stop() {
    running_ = false;
    updateTimer();
}

void SplashAnimation::setFrame(int frame) {
    frame_ = ((frame % frame_count_) + frame_count_) % frame_count_;
    update();
}

void SplashAnimation::updateTimer() {
    if (running_ && isVisible())
        timer_.start();
    else
        timer_.stop();
}

void SplashAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintFrame(p, frame_);
}

void SplashAnimation::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateTimer();
}

void SplashAnimation::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    updateTimer();
}

} // namespace parvex
