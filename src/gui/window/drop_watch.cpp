#include "window/drop_watch.h"

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
    destroyed_connection_ =
        connect(watched_, &QObject::destroyed, this, &TDropWatch::watchedDestroyed);
    watched_->setAcceptDrops(enabled_);
    hooked_ = true;
}

void TDropWatch::unhook() {
    disconnect(destroyed_connection_);
    if (hooked_ && watched_) {
        watched_->removeEventFilter(this);
        watched_->setAcceptDrops(accepted_drops_before_);
    }
    hooked_ = false;
}

void TDropWatch::watchedDestroyed() {
    // The widget is half gone: touch nothing of it, only forget it.
    disconnect(destroyed_connection_);
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
    if (watched != watched_ || !hooked_ || !enabled_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (localFiles(drag->mimeData()).isEmpty())
            return false; // not ours: the widget decides
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = localFiles(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // The handler may open a message that runs its own event loop; the watch may even be
        // cleared meanwhile, so nothing of this object is used after the signal.
        emit filesDropped(drop->position().toPoint(), files);
        return true;
    }
    default:
        return false;
    }
}

} // namespace parvex
