#pragma once
// One HTTP(S) GET of the news file into memory: no cache, a time limit and a size limit. The
// caller waits in a local event loop, so the window keeps handling its events meanwhile.

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>

class QUrl;

namespace parvex {

struct [[nodiscard]] News_Reply {
    bool ok = false;
    bool cancelled = false; // abort() or the end of the program stopped it
    QByteArray body;
    QString error; // why it failed, for the user
};

// Why an address cannot be fetched ("" when it can): only http and https addresses with a host.
QString News_Address_Problem(const QUrl& url);

class News_Download : public QObject {
    Q_OBJECT
public:
    explicit News_Download(QObject* parent = nullptr);
    ~News_Download() override;

    // Only http and https addresses are fetched; a reply counts only with a 2xx status.
    News_Reply get(const QUrl& url, int timeout_ms, qint64 max_bytes);
    bool running() const { return reply_ != nullptr; }
    // Stops a running download; get() then returns a cancelled reply.
    void abort();

private:
    QNetworkAccessManager nam_;
    QPointer<QNetworkReply> reply_;
    bool cancelled_ = false;
};

} // namespace parvex
