#pragma once
// One running program per settings folder. The first start listens on a local socket named
// after its settings folder; a later start with the same folder hands its file names to it and
// ends, and the running program brings its window to the front and takes the files in. Two
// programs with one settings folder would overwrite each other's settings and log.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace parvex {

class Single_Instance : public QObject {
    Q_OBJECT
public:
    explicit Single_Instance(const QString& settings_folder, QObject* parent = nullptr);

    // The socket name for a settings folder (the same for every spelling of one folder).
    static QString Server_Name(const QString& settings_folder);

    // A later start: true when a program running with this folder took the files (also none).
    bool hand_over(const QStringList& files, int timeout_ms = 3000);
    // The first start: listens from now on. A socket left behind by a program that ended
    // without cleaning up is replaced; false when listening failed (the program runs anyway).
    bool listen();

signals:
    // Files handed over by a later start (possibly none: it only asks to be shown).
    void filesReceived(const QStringList& files);

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

} // namespace parvex
