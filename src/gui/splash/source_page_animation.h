#pragma once
// The splash's left picture: a page of source text read line by line, each line taking its
// new colours as the reader passes, and a seal when the page is done.

#include "splash/splash_animation.h"

namespace parvex {

class SourcePageAnimation : public SplashAnimation {
    Q_OBJECT
public:
    static constexpr int Lines = 7;
    static constexpr int StepsPerLine = 4;
    static constexpr int HoldFrames = 8;

    explicit SourcePageAnimation(QWidget* parent = nullptr);

    // How many lines are finished in a frame (Lines once the page is done).
    static int linesDone(int frame);

protected:
    void paintFrame(QPainter& p, int frame) override;
};

} // namespace parvex
