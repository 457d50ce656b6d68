#include "info/rich_text_view.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

namespace parvex {

namespace {

Qt::Alignment alignment(rich::Align a) {
    switch (a) {
    case rich::Align::Center:
        return Qt::AlignHCenter;
    case rich::Align::Right:
        return Qt::AlignRight;
    case rich::Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

void Show_Rich_Document(QTextEdit* view, const rich::Document& doc, bool links) {
    QTextDocument* d = view->document();
    d->clear();
    QTextCursor cursor(d);
    cursor.beginEditBlock();
    const QColor link_color = view->palette().color(QPalette::Link);
    bool first = true;
    for (const rich::Paragraph& p : doc.paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(alignment(p.align));
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        for (const rich::Run& r : p.runs) {
            QTextCharFormat f;
            f.setFontWeight(r.style.bold ? QFont::Bold : QFont::Normal);
            f.setFontItalic(r.style.italic);
            f.setFontUnderline(r.style.underline);
            // Sizes a page can hold without breaking its layout.
            if (r.style.half_points > 0)
                f.setFontPointSize(std::clamp(r.style.half_points / 2.0, 6.0, 36.0));
            if (r.style.rgb)
                f.setForeground(QColor::fromRgb(static_cast<QRgb>(*r.style.rgb)));
            if (links && !r.link.empty()) {
                f.setAnchor(true);
                f.setAnchorHref(
                    QString::fromUtf8(r.link.data(), static_cast<qsizetype>(r.link.size())));
                f.setFontUnderline(true);
                if (!r.style.rgb)
                    f.setForeground(link_color);
            }
            QString text = QString::fromUtf8(r.text.data(), static_cast<qsizetype>(r.text.size()));
            text.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
            cursor.insertText(text, f);
        }
    }
    cursor.endEditBlock();
    view->moveCursor(QTextCursor::Start);
}

} // namespace parvex
