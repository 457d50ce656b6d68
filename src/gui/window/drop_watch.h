#pragma once
// The main window's drop watcher: an event filter on one watched widget that takes drops of
// local files and reports them with the drop point and the full names in delivery order. Files
// dropped on a descendant are the watched widget's too, even where the descendant takes drops
// of its own (a line edit would paste the name as text); other drops stay the descendant's.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QMimeData;

namespace parvex {

class TDropWatch : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
public:
    explicit TDropWatch(QObject* parent = nullptr);
    ~TDropWatch() override;

    // Setting another widget unhooks the old one and hooks the new one; nullptr just unhooks.
    // When the watched widget is destroyed the watch is cleared and Enabled becomes false.
    void setWatchControl(QWidget* widget);
    QWidget* watchControl() const { return watched_; }

    // While hooked, the watched widget accepts drops only when enabled.
    void setEnabled(bool on);
    bool enabled() const { return enabled_; }

    // True while the filter sits on a watched widget.
    bool hooked() const { return hooked_; }

    // The local file names a drop carries, in the order the system gives them.
    static QStringList localFiles(const QMimeData* mime);

signals:
    // `OnFilesDropped`: pos in the watched widget's coordinates, files as full path names.
    void filesDropped(QPoint pos, QStringList files);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleDrag(QWidget* receiver, QEvent* event);
    void hook();
    void unhook();
    void watchedDestroyed();

    QPointer<QWidget> watched_;
    QMetaObject::Connection destroyed_connection_;
    bool enabled_ = true;
    bool hooked_ = false;
    bool accepted_drops_before_ = false; // the widget's own setting, given back on unhook
};

} // namespace parvex
