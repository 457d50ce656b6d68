#include "splash/token_orbit_animation.h"

#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

namespace parvex {

TokenOrbitAnimation::TokenOrbitAnimation(QWidget* parent) : SplashAnimation(Frames, 60, parent) {}

QString TokenOrbitAnimation::word(int frame) {
    static const char* const words[] = {"END", "end", "End", "eNd"};
    const int i = ((frame % Frames + Frames) % Frames) / FramesPerWord;
    return QString::fromLatin1(words[i]);
}

void TokenOrbitAnimation::paintFrame(QPainter& p, int frame) {
    const QPointF c(width() / 2.0, height() / 2.0);
    const qreal ring = std::min(width(), height()) / 2.0 - 5;

    // the ring of dim dots
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 200, 255, 150));
    for (int i = 0; i < 16; ++i) {
        const qreal a = i * 2 * M_PI / 16;
        p.drawEllipse(c + QPointF(ring * qCos(a), ring * qSin(a)), 1.3, 1.3);
    }

    // two comets, opposite each other, each with a fading tail
    const QColor heads[2] = {QColor(0, 255, 255), QColor(255, 255, 170)};
    for (int k = 0; k < 2; ++k) {
        const qreal head = frame * 2 * M_PI / Frames + k * M_PI - M_PI / 2;
        for (int t = 7; t >= 0; --t) {
            const qreal a = head - t * 0.14;
            QColor col = heads[k];
            col.setAlpha(255 - t * 30);
            p.setBrush(col);
            const qreal r = 3.6 - t * 0.35;
            p.drawEllipse(c + QPointF(ring * qCos(a), ring * qSin(a)), r, r);
        }
    }

    // the golden disc with the word; it swells a little as a new case comes in
    const int in_word = frame % FramesPerWord;
    const qreal disc = 17 + (in_word < 3 ? (3 - in_word) * 0.8 : 0);
    QRadialGradient g(c - QPointF(5, 6), disc * 1.6);
    g.setColorAt(0, QColor(255, 255, 200));
    g.setColorAt(0.55, QColor(235, 220, 60));
    g.setColorAt(1, QColor(160, 140, 0));
    p.setBrush(g);
    p.setPen(QPen(QColor(90, 70, 0), 1));
    p.drawEllipse(c, disc, disc);

    QFont f = font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    const QRectF box(c.x() - disc, c.y() - disc, 2 * disc, 2 * disc);
    p.setPen(QColor(255, 255, 220));
    p.drawText(box.translated(1, 1), Qt::AlignCenter, word(frame));
    p.setPen(QColor(0, 0, 140));
    p.drawText(box, Qt::AlignCenter, word(frame));
}

} // namespace parvex
