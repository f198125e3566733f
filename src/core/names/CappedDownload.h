#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;

// One GET whose whole body is wanted in memory, with the two limits a
// download from the network needs so that it can neither wait nor grow
// forever: a transfer that brings no data for `transferTimeout` ms fails,
// and so does a body larger than `maximumSize` bytes, whether the server
// announced that size or just kept sending.
//
// It reports progress while the body arrives and `finished` exactly once,
// unless it is cancelled first: after cancel() it reports nothing.
class CappedDownload : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        // An HTTP response arrived, whatever its status; an error status may
        // still have a body worth reading (an API's error object). False for
        // a refused connection, a timeout, a broken transfer or a body too
        // large.
        bool serverAnswered = false;
        bool tooLarge = false;
        QString errorString;
        QByteArray body; // empty unless the whole body arrived within the cap
        int httpStatus = 0; // 0 when no HTTP response arrived
        // Why it failed, in a few words a user can act on: "timed out",
        // "HTTP 403 Forbidden", "Host example.org not found", "larger than
        // 64000 KB". Empty when it did not.
        QString reason;

        bool succeeded() const { return error == QNetworkReply::NoError && !tooLarge; }
    };

    CappedDownload(QNetworkAccessManager& network, const QString& address, int transferTimeout, qint64 maximumSize,
                   QObject* parent = nullptr);
    ~CappedDownload() override; // cancels

    const QString& address() const { return url; }
    void cancel();

Q_SIGNALS:
    // `written` bytes of `expected` (-1 when the server did not say), of
    // which `chunk` arrived since the last report. Only reports that bring
    // bytes.
    void progressed(qint64 written, qint64 expected, qint64 chunk);
    void finished(const CappedDownload::Result& result);

private:
    void replied();

    QString url;
    qint64 maximumSize;
    QPointer<QNetworkReply> reply;
    qint64 lastWritten = 0;
    bool tooLarge = false;
};
