#pragma once

#include "CappedDownload.h"
#include "NamesDatabaseBuilder.h"

#include "colour/ColorSpace.h"
#include "settings/DefaultsKeys.h"

#include <QFuture>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>

class NameCache;
class NamesDatabase;
class UserDefaults;

// Brings the live names database up to the newest release of the public
// colour-names dataset: ask the releases listing for the newest release,
// download its CSV, build a database from it on a worker thread, put it in
// place of the live one and reload the names. Everything the Names
// preferences pane shows is a property here (status line, count, release,
// button, spinner), so the pane only binds to it and forwards its button;
// `huelark-cli names update` drives the same object without a window.
//
// Hosts and the dataset's owner are settings ("namesAPIHost", "namesCDNHost",
// "namesDatasetOwner") defaulting to the public services; requests that stall
// past the transfer timeout and bodies past the size cap fail. The live
// database is only ever replaced whole, by a build that produced rows.
class NamesDatabaseUpdater : public QObject
{
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(QString updatedLabel READ updatedLabel NOTIFY updatedLabelChanged)
    Q_PROPERTY(QString namesCount READ namesCount NOTIFY namesCountChanged)
    Q_PROPERTY(QString namesVersion READ namesVersion NOTIFY namesVersionChanged)
    Q_PROPERTY(QString buttonTitle READ buttonTitle NOTIFY buttonChanged)
    Q_PROPERTY(bool buttonEnabled READ buttonEnabled NOTIFY buttonChanged)
    Q_PROPERTY(bool spinnerVisible READ spinnerVisible NOTIFY spinnerVisibleChanged)

public:
    enum class State { Idle, Checking, Downloading, Building, Installing };
    Q_ENUM(State)
    // What the button does when pressed.
    enum class ButtonAction { StartDownload, CancelDownload };
    Q_ENUM(ButtonAction)
    // How an update ended.
    enum class Outcome { Installed, Current, Failed, Cancelled };
    Q_ENUM(Outcome)

    static inline const QString& apiHostKey = DefaultsKeys::namesAPIHost;
    static inline const QString& cdnHostKey = DefaultsKeys::namesCDNHost;
    static inline const QString& datasetOwnerKey = DefaultsKeys::namesDatasetOwner;
    static const QString defaultAPIHost;      // https://api.github.com
    static const QString defaultCDNHost;      // https://unpkg.com
    static const QString defaultDatasetOwner; // meodai

    // `cache`, when given, is reloaded after an install.
    NamesDatabaseUpdater(NamesDatabase& database, UserDefaults& defaults, NameCache* cache = nullptr,
                         QObject* parent = nullptr);
    // Stops a running build and waits for it.
    ~NamesDatabaseUpdater() override;

    // For this object only, in place of the settings (empty: the setting).
    void setAPIHost(const QString& host) { apiHostOverride = host; }
    void setCDNHost(const QString& host) { cdnHostOverride = host; }
    QString apiHost() const;
    QString cdnHost() const;
    QString datasetOwner() const;
    // A request with no data for this long fails. Default 30 s.
    void setTransferTimeout(int milliseconds) { transferTimeout = milliseconds; }
    // Larger bodies are refused. Default 64 MB.
    void setMaximumDownloadSize(qint64 bytes) { maximumDownloadSize = bytes; }
    // The space the CSV's codes are read into (the window's); default sRGB.
    void setWellColorSpace(const ColorSpacePtr& space) { wellSpace = space; }

    State state() const { return currentState; }
    QString updatedLabel() const { return updatedText; }
    QString namesCount() const { return namesCountText; }
    QString namesVersion() const { return versionName; }
    QString buttonTitle() const { return buttonText; }
    bool buttonEnabled() const { return buttonIsEnabled; }
    ButtonAction buttonAction() const { return action; }
    bool spinnerVisible() const { return spinnerIsVisible; }
    qint64 databaseVersion() const { return releaseId; }
    QString currentUrlString() const { return requestUrl; }

    // The pane is about to show: the status line shows the last update.
    void viewWillAppear();
    // The button: startDownload or cancelDownload, as buttonAction says.
    void pressButton();
    void startDownload();
    void cancelDownload();

Q_SIGNALS:
    void stateChanged(NamesDatabaseUpdater::State state);
    void updatedLabelChanged(const QString& text);
    void namesCountChanged(const QString& text);
    void namesVersionChanged(const QString& text);
    void buttonChanged();
    void spinnerVisibleChanged(bool visible);
    // A new database is live (and the cache, if any, reloaded).
    void databaseInstalled();
    // The update started by startDownload is over. Not emitted for a
    // cancelled build that a new start overtook before it wound down.
    void finished(NamesDatabaseUpdater::Outcome outcome);

private:
    CappedDownload* get(const QString& address);
    void checkForNewVersion();
    void versionCheckReplied(const CappedDownload::Result& result);
    void downloadCSV(const QString& address);
    void downloadProgressed(qint64 written, qint64 expected, qint64 chunk);
    void downloadReplied(const CappedDownload::Result& result);
    void downloadFailed(const QString& reason);
    void storeCSV(const QByteArray& bytes);
    void generateDatabaseFromCSV(const QStringList& lines);
    void buildFinished(const NamesDatabaseBuilder::Result& result, quint64 flow);
    bool replaceDBFile(QString* error);
    void downloadCompleted();
    void cleanupFiles();
    void parseFailed(const QString& reason = {});
    void versionCheckFailed(const QString& text, Outcome outcome);
    void versionCheckFinished();
    void resetDownloadButton();
    void resetDatabaseAndNamesVersions();
    void updateNameCount();
    void dropRequest();
    void end(Outcome outcome);

    void setState(State state);
    void setUpdatedLabel(const QString& text);
    void setNamesVersion(const QString& text);
    void setButton(const QString& title, ButtonAction action, bool enabled);
    void setSpinnerVisible(bool visible);

    NamesDatabase& database;
    UserDefaults& defaults;
    QPointer<NameCache> cache;
    QNetworkAccessManager network;
    QPointer<CappedDownload> request;
    QThreadPool buildQueue; // one thread: builds run one after another
    QFuture<void> build;
    std::shared_ptr<std::atomic<bool>> buildCancelled;

    QString apiHostOverride, cdnHostOverride;
    int transferTimeout = 30000;
    qint64 maximumDownloadSize = 64 * 1000 * 1000;
    ColorSpacePtr wellSpace;

    State currentState = State::Idle;
    QString updatedText, namesCountText, versionName, buttonText, requestUrl;
    bool buttonIsEnabled = true;
    ButtonAction action = ButtonAction::StartDownload;
    bool spinnerIsVisible = false;
    qint64 releaseId = 0;
    bool downloadCancelled = false;
    quint64 flow = 0; // one per startDownload, so late results of an older one are known
};
