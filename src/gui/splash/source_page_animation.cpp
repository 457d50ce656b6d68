#include "splash/source_page_animation.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace parvex {

namespace {

struct PageLine {
    int indent, word, rest;
};
// A procedure's shape: heading, begin, two statements, a nested block, end.
constexpr PageLine page_lines[SourcePageAnimation::Lines] = {
    {0, 12, 18}, {0, 8, 0}, {5, 7, 16}, {5, 10, 12}, {10, 6, 14}, {5, 4, 9}, {0, 6, 8},
};

constexpr QSize page_size{46, 62};

} // namespace

SourcePageAnimation::SourcePageAnimation(QWidget* parent)
    : SplashAnimation(Lines * StepsPerLine + HoldFrames, 110, parent) {}

int SourcePageAnimation::linesDone(int frame) {
    return std::min(Lines, frame / StepsPerLine);
}

void SourcePageAnimation::paintFrame(QPainter& p, int frame) {
    const QRectF page(
        QPointF((width() - page_size.width()) / 2.0, (height() - page_size.height()) / 2.0),
        page_size);
    const qreal fold = 10;

    // the sheet with a soft shadow and a folded corner
    QPainterPath sheet;
    sheet.moveTo(page.topLeft());
    sheet.lineTo(page.right() - fold, page.top());
    sheet.lineTo(page.right(), page.top() + fold);
    sheet.lineTo(page.bottomRight());
    sheet.lineTo(page.bottomLeft());
    sheet.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 40, 110));
    p.drawPath(sheet.translated(2.5, 2.5));
    p.setBrush(QColor(255, 255, 248));
    p.setPen(QPen(QColor(60, 60, 110), 1));
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.top());
    corner.lineTo(page.right() - fold, page.top() + fold);
    corner.lineTo(page.right(), page.top() + fold);
    corner.closeSubpath();
    p.setBrush(QColor(200, 200, 215));
    p.drawPath(corner);

    const int done = linesDone(frame);
    const int step = frame % StepsPerLine;
    const qreal left = page.left() + 5;
    const qreal usable = page.width() - 10;
    for (int i = 0; i < Lines; ++i) {
        const PageLine& l = page_lines[i];
        const qreal y = page.top() + 13 + i * 6.8;
        const bool current = i == done && done < Lines;
        if (current) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 236, 90, 200));
            p.drawRect(QRectF(page.left() + 1.5, y - 2.5, page.width() - 3, 6));
        }
        const bool recased = i < done;
        const qreal x0 = left + l.indent * usable / 40.0;
        const qreal w_word = l.word * usable / 40.0;
        const qreal w_rest = l.rest * usable / 40.0;
        p.setPen(Qt::NoPen);
        p.setBrush(recased ? QColor(0, 0, 200) : QColor(170, 170, 180));
        p.drawRoundedRect(QRectF(x0, y - 1, w_word, 2.6), 1, 1);
        if (l.rest > 0) {
            p.setBrush(recased ? QColor(0, 128, 64) : QColor(195, 195, 200));
            p.drawRoundedRect(QRectF(x0 + w_word + 2, y - 1, w_rest, 2.6), 1, 1);
        }
        if (current) {
            // the reading caret walks along the line
            const qreal end = x0 + w_word + (l.rest > 0 ? 2 + w_rest : 0);
            const qreal cx = x0 + (end - x0) * (step + 1) / StepsPerLine;
            p.setPen(QPen(QColor(220, 0, 0), 1.4));
            p.drawLine(QPointF(cx, y - 3), QPointF(cx, y + 3.5));
        }
    }

    if (done == Lines) {
        // the seal of a finished page grows in, then stays
        const int held = frame - Lines * StepsPerLine;
        const qreal r = std::min(7.5, 3.0 + held * 1.5);
        const QPointF c(page.right() - 6, page.bottom() - 7);
        p.setPen(QPen(QColor(0, 90, 40), 1));
        p.setBrush(QColor(0, 170, 80));
        p.drawEllipse(c, r, r);
        if (r > 6) {
            p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPainterPath tick;
            tick.moveTo(c + QPointF(-3.5, 0));
            tick.lineTo(c + QPointF(-1, 2.8));
            tick.lineTo(c + QPointF(3.8, -2.8));
            p.setBrush(Qt::NoBrush);
            p.drawPath(tick);
        }
    }
}

} // namespace parvex
