#pragma once
// The splash's right picture: a word changing its letter case in a golden disc while two comets
// circle it on a ring of dots.

#include "splash/splash_animation.h"

#include <QString>

namespace parvex {

class TokenOrbitAnimation : public SplashAnimation {
    Q_OBJECT
public:
    static constexpr int Frames = 48;
    static constexpr int FramesPerWord = 12;

    explicit TokenOrbitAnimation(QWidget* parent = nullptr);

    // The word in the disc at a frame: the same word in its four cases, in turn.
    static QString word(int frame);

protected:
    void paintFrame(QPainter& p, int frame) override;
};

} // namespace parvex
