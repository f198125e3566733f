#include "CappedDownload.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QUrl>

CappedDownload::CappedDownload(QNetworkAccessManager& network, const QString& address, int transferTimeout,
                               qint64 maximumSize, QObject* parent)
    : QObject(parent)
    , url(address)
    , maximumSize(maximumSize)
{
    QNetworkRequest request{QUrl(address)};
    request.setTransferTimeout(transferTimeout);
    reply = network.get(request);
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 written, qint64 expected) {
        if (written > this->maximumSize || expected > this->maximumSize) {
            // Stop now rather than hold the rest in memory; finished follows.
            tooLarge = true;
            reply->abort();
            return;
        }
        const qint64 chunk = written - lastWritten;
        lastWritten = written;
        if (chunk > 0)
            Q_EMIT progressed(written, expected, chunk);
    });
    connect(reply, &QNetworkReply::finished, this, &CappedDownload::replied);
}

CappedDownload::~CappedDownload()
{
    cancel();
}

void CappedDownload::cancel()
{
    if (!reply)
        return;
    QNetworkReply* request = reply;
    reply = nullptr;
    request->disconnect(this);
    request->abort();
    request->deleteLater();
}

void CappedDownload::replied()
{
    QNetworkReply* request = reply;
    reply = nullptr;
    request->deleteLater();

    Result result;
    result.error = request->error();
    result.errorString = request->errorString();
    // Progress comes at most every so often; the whole body is measured
    // again at the end.
    result.tooLarge = tooLarge || request->bytesAvailable() > maximumSize;
    const int error = result.error;
    const QVariant status = request->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    result.httpStatus = status.toInt();
    // Content errors (2xx codes of NetworkError) are HTTP 4xx statuses,
    // server errors (4xx codes) HTTP 5xx ones: answers, unlike broken
    // transfers.
    result.serverAnswered = status.isValid() && !result.tooLarge
        && (error == QNetworkReply::NoError || (error >= 201 && error < 300) || (error >= 401 && error < 500));
    // An aborted reply is closed: reading it would only warn.
    if (!result.tooLarge && request->isOpen())
        result.body = request->readAll();

    if (result.tooLarge) {
        result.reason = QStringLiteral("larger than %1 KB").arg(maximumSize / 1000);
    } else if (result.error == QNetworkReply::OperationCanceledError || result.error == QNetworkReply::TimeoutError) {
        // Nothing here aborts a reply but the size cap, and a cancelled one
        // reports nothing: this is the transfer timeout, which Qt reports
        // as a cancel.
        result.reason = QStringLiteral("timed out");
    } else if (result.httpStatus >= 400) {
        const QString phrase =
            request->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
        result.reason = QStringLiteral("HTTP %1 %2").arg(result.httpStatus).arg(phrase).trimmed();
    } else if (result.error != QNetworkReply::NoError) {
        result.reason = result.errorString;
    }
    Q_EMIT finished(result);
}
