#include "news/news_download.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace parvex {

News_Download::News_Download(QObject* parent) : QObject(parent) {
    nam_.setCache(nullptr);
}

News_Download::~News_Download() {
    abort();
}

void News_Download::abort() {
    if (reply_) {
        cancelled_ = true;
        reply_->abort();
    }
}

QString News_Address_Problem(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty())
        return QStringLiteral("\"%1\" is not an http or https address").arg(url.toString());
    return {};
}

News_Reply News_Download::get(const QUrl& url, int timeout_ms, qint64 max_bytes) {
    News_Reply out;
    if (const QString problem = News_Address_Problem(url); !problem.isEmpty()) {
        out.error = problem;
        return out;
    }
    if (reply_) {
        out.error = QStringLiteral("a download is already running");
        return out;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("UtilMind HTTPGet"));
    request.setRawHeader("Accept", "*/*");
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(timeout_ms);

    cancelled_ = false;
    QString limit_error;
    QNetworkReply* reply = nam_.get(request);
    reply_ = reply;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, reply, [&] {
        limit_error = QStringLiteral("no answer within %1 seconds").arg(timeout_ms / 1000);
        reply->abort();
    });
    auto too_large = [&] {
        limit_error = QStringLiteral("the file is larger than %1 bytes").arg(max_bytes);
        reply->abort();
    };
    connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > max_bytes)
            too_large();
    });
    connect(reply, &QNetworkReply::readyRead, reply, [&] {
        out.body += reply->readAll();
        if (out.body.size() > max_bytes)
            too_large();
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(timeout_ms);
    if (!reply->isFinished())
        loop.exec();
    deadline.stop();

    if (!reply->isFinished()) {
        // The event loop was left from outside: the program is ending.
        cancelled_ = true;
        reply->abort();
    }
    if (limit_error.isEmpty() && !cancelled_ && reply->error() == QNetworkReply::NoError)
        out.body += reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (cancelled_) {
        out.cancelled = true;
        out.error = QStringLiteral("the download was cancelled");
    } else if (!limit_error.isEmpty()) {
        out.error = limit_error;
    } else if (status != 0 && (status < 200 || status > 299)) {
        out.error =
            QStringLiteral("the server answered %1 %2")
                .arg(status)
                .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    } else if (reply->error() != QNetworkReply::NoError) {
        out.error = reply->errorString();
    } else if (status == 0) {
        out.error = QStringLiteral("no HTTP answer");
    } else {
        out.ok = true;
    }
    if (!out.ok)
        out.body.clear();
    reply_ = nullptr;
    reply->disconnect(); // the handlers above refer to this call's locals
    reply->deleteLater();
    return out;
}

} // namespace parvex
