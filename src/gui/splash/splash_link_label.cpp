#include "splash/splash_link_label.h"

#include "platform/open_document.h"

#include <QMouseEvent>

namespace parvex {

SplashLinkLabel::SplashLinkLabel(QWidget* parent) : ShadowLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setFontColor(linkColor());
    setShadowColor(QColor(0, 0, 255));
    setShadowSize(1);
    QFont f = font();
    f.setUnderline(true);
    f.setPixelSize(12);
    f.setBold(true);
    setFont(f);
}

void SplashLinkLabel::setVisited(bool on) {
    visited_ = on;
    setFontColor(on ? visitedColor() : linkColor());
}

bool SplashLinkLabel::openAddress(QString* error) {
    if (address_.isEmpty())
        return false;
    const Open_Result r = Open_Document(address_);
    if (!r) {
        if (error)
            *error = r.error;
        emit openFailed(r.error);
        return false;
    }
    setVisited(true);
    return true;
}

void SplashLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        (void)openAddress();
        event->accept();
        return;
    }
    ShadowLabel::mouseReleaseEvent(event);
}

} // namespace parvex
