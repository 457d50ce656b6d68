#pragma once
// A small looping picture drawn frame by frame: a timer steps the frames while the animation
// runs and the widget is visible, so a hidden About page costs nothing.

#include <QTimer>
#include <QWidget>

namespace parvex {

class SplashAnimation : public QWidget {
    Q_OBJECT
public:
    SplashAnimation(int frame_count, int interval_ms, QWidget* parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return running_; }
    // True while the timer is actually stepping (running and visible).
    bool isTicking() const { return timer_.isActive(); }

    int frameCount() const { return frame_count_; }
    int frame() const { return frame_; }
    void setFrame(int frame);
    // The next frame, wrapping round at the end.
    void advance() { setFrame(frame_ + 1); }
    int interval() const { return timer_.interval(); }

protected:
    // Draws one frame into the widget's rectangle; the background stays transparent.
    virtual void paintFrame(QPainter& p, int frame) = 0;

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateTimer();

    QTimer timer_;
    int frame_count_;
    int frame_ = 0;
    bool running_ = false;
};

} // namespace parvex
