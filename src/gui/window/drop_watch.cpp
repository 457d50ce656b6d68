#include "window/drop_watch.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace parvex {

TDropWatch::TDropWatch(QObject* parent) : QObject(parent) {}

TDropWatch::~TDropWatch() {
    unhook();
}

void TDropWatch::setWatchControl(QWidget* widget) {
    if (widget == watched_ && hooked_)
        return;
    unhook();
    watched_ = widget;
    hook();
}

void TDropWatch::setEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    if (hooked_ && watched_)
        watched_->setAcceptDrops(enabled_);
}

void TDropWatch::hook() {
    hooked_ = false;
    if (!watched_)
        return;
    accepted_drops_before_ = watched_->acceptDrops();
    watched_->installEventFilter(this);
    // Drags over a descendant that accepts drops go to that descendant, not to the watched
    // widget; the application's filter lets the watch see those few events as well.
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
    destroyed_connection_ =
        connect(watched_, &QObject::destroyed, this, &TDropWatch::watchedDestroyed);
    watched_->setAcceptDrops(enabled_);
    hooked_ = true;
}

void TDropWatch::unhook() {
    disconnect(destroyed_connection_);
    if (hooked_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    if (hooked_ && watched_) {
        watched_->removeEventFilter(this);
        watched_->setAcceptDrops(accepted_drops_before_);
    }
    hooked_ = false;
}

void TDropWatch::watchedDestroyed() {
    // The widget is half gone: touch nothing of it, only forget it.
    disconnect(destroyed_connection_);
    if (hooked_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    hooked_ = false;
    watched_ = nullptr;
    enabled_ = false;
}

QStringList TDropWatch::localFiles(const QMimeData* mime) {
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files << url.toLocalFile();
    return files;
}

bool TDropWatch::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    if (!hooked_ || !enabled_ || !watched_ || !watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    // The application's filter sees a drag first, the widget's own filter after it; whichever
    // takes a file drop ends its way, so a drop is reported once.
    if (receiver != watched_ && !watched_->isAncestorOf(receiver))
        return false;
    return handleDrag(receiver, event);
}

bool TDropWatch::handleDrag(QWidget* receiver, QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event); // enter and move events are drop events too
    const QStringList files = localFiles(drop->mimeData());
    if (files.isEmpty())
        return false; // not ours: the widget decides
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() != QEvent::Drop)
        return true;
    const QPoint pos = receiver == watched_
                           ? drop->position().toPoint()
                           : receiver->mapTo(watched_.data(), drop->position().toPoint());
    // The handler may open a message that runs its own event loop; the watch may even be
    // cleared meanwhile, so nothing of this object is used after the signal.
    emit filesDropped(pos, files);
    return true;
}

} // namespace parvex
