#include "NamesDatabaseUpdater.h"

#include "Log.h"

#include "NameCache.h"
#include "NamesDatabase.h"

#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace {

const QString versionCheckFailedText = QStringLiteral("Version check failed...");
const QString downloadFailedText = QStringLiteral("Download failed...");

QString withoutTrailingSlash(QString host)
{
    while (host.endsWith(u'/'))
        host.chop(1);
    return host;
}

QString pathSegment(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

// The status, and on a second line why, when there is something to say.
QString withReason(const QString& status, const QString& reason)
{
    return reason.isEmpty() ? status : status + u'\n' + reason;
}

QString kilobytes(qint64 bytes)
{
    return QString::asprintf("%.01f", bytes / 1000.0);
}

} // namespace

const QString NamesDatabaseUpdater::defaultAPIHost = QStringLiteral("https://api.github.com");
const QString NamesDatabaseUpdater::defaultCDNHost = QStringLiteral("https://unpkg.com");
const QString NamesDatabaseUpdater::defaultDatasetOwner = QStringLiteral("meodai");

NamesDatabaseUpdater::NamesDatabaseUpdater(NamesDatabase& database, UserDefaults& defaults, NameCache* cache,
                                           QObject* parent)
    : QObject(parent)
    , database(database)
    , defaults(defaults)
    , cache(cache)
    , wellSpace(ColorSpace::sRGB())
{
    buildQueue.setMaxThreadCount(1);
    buttonText = QStringLiteral("Update database");
    releaseId = defaults.integerForKey(DefaultsKeys::namesID);
    updateNameCount();
    versionName = defaults.stringForKey(DefaultsKeys::namesVersion);
    updatedText = NamesDatabase::statusText(defaults);
    connect(&defaults, &UserDefaults::valueChanged, this, [this](const QString& key) {
        if (key == DefaultsKeys::namesCountValue)
            updateNameCount();
    });
    connect(&database, &NamesDatabase::liveDatabaseReinstalled, this, [this](const QString& notice) {
        if (currentState != State::Idle)
            return;
        resetDatabaseAndNamesVersions();
        setUpdatedLabel(notice);
    });
}

NamesDatabaseUpdater::~NamesDatabaseUpdater()
{
    dropRequest();
    if (buildCancelled)
        buildCancelled->store(true);
    build.waitForFinished();
    buildQueue.waitForDone();
}

QString NamesDatabaseUpdater::apiHost() const
{
    const QString host = apiHostOverride.isEmpty() ? defaults.stringForKey(apiHostKey) : apiHostOverride;
    return withoutTrailingSlash(host.isEmpty() ? defaultAPIHost : host);
}

QString NamesDatabaseUpdater::cdnHost() const
{
    const QString host = cdnHostOverride.isEmpty() ? defaults.stringForKey(cdnHostKey) : cdnHostOverride;
    return withoutTrailingSlash(host.isEmpty() ? defaultCDNHost : host);
}

QString NamesDatabaseUpdater::datasetOwner() const
{
    const QString owner = defaults.stringForKey(datasetOwnerKey);
    return owner.isEmpty() ? defaultDatasetOwner : owner;
}

void NamesDatabaseUpdater::viewWillAppear()
{
    setUpdatedLabel(NamesDatabase::statusText(defaults));
}

void NamesDatabaseUpdater::pressButton()
{
    if (!buttonIsEnabled)
        return;
    if (action == ButtonAction::StartDownload)
        startDownload();
    else
        cancelDownload();
}

void NamesDatabaseUpdater::startDownload()
{
    if (currentState != State::Idle)
        return;
    ++flow;
    downloadCancelled = false;
    checkForNewVersion();
}

CappedDownload* NamesDatabaseUpdater::get(const QString& address)
{
    requestUrl = address;
    request = new CappedDownload(network, address, transferTimeout, maximumDownloadSize, this);
    // Handled once: the request is spent, whatever the handler goes on to.
    connect(request, &CappedDownload::finished, request, &QObject::deleteLater);
    return request;
}

void NamesDatabaseUpdater::checkForNewVersion()
{
    CappedDownload* check =
        get(apiHost() + QStringLiteral("/repos/") + pathSegment(datasetOwner()) + QStringLiteral("/color-names/releases"));
    connect(check, &CappedDownload::finished, this, &NamesDatabaseUpdater::versionCheckReplied);
    setUpdatedLabel(QStringLiteral("Checking Color Names version..."));
    setState(State::Checking);
    setSpinnerVisible(true);
    setButton(buttonText, action, false);
}

void NamesDatabaseUpdater::versionCheckReplied(const CappedDownload::Result& result)
{
    request = nullptr;
    if (!result.serverAnswered) {
        qCWarning(lcNames, "version check: %s", qUtf8Printable(result.reason));
        versionCheckFailed(withReason(versionCheckFailedText, result.reason), Outcome::Failed);
        return;
    }
    const QJsonDocument json = QJsonDocument::fromJson(result.body);
    // An error object, invalid JSON, and a listing without any release (or
    // without a name to download it by) all leave nothing to install.
    const QJsonArray releases = json.array();
    const QJsonObject newest = releases.isEmpty() ? QJsonObject() : releases.first().toObject();
    const QString name = newest.value(QStringLiteral("name")).toString();
    if (!json.isArray() || name.isEmpty()) {
        const QString reason = !result.reason.isEmpty() ? result.reason
            : json.isArray()                             ? QStringLiteral("no release to download")
                                                         : QStringLiteral("the answer is not a list of releases");
        versionCheckFailed(withReason(versionCheckFailedText, reason), Outcome::Failed);
        return;
    }
    const qint64 newId = newest.value(QStringLiteral("id")).toInteger(0);
    // A missing or empty table takes the newest release whatever its id.
    const bool force = defaults.integerForKey(DefaultsKeys::namesCountValue) == 0;
    if (newId > releaseId || force) {
        releaseId = newId;
        setNamesVersion(name);
        versionCheckFinished();
        downloadCSV(cdnHost() + QStringLiteral("/color-name-list@") + pathSegment(name)
                    + QStringLiteral("/dist/colornames.csv"));
    } else {
        versionCheckFailed(QStringLiteral("Installed database is current..."), Outcome::Current);
    }
}

void NamesDatabaseUpdater::downloadCSV(const QString& address)
{
    CappedDownload* download = get(address);
    connect(download, &CappedDownload::progressed, this, &NamesDatabaseUpdater::downloadProgressed);
    connect(download, &CappedDownload::finished, this, &NamesDatabaseUpdater::downloadReplied);
    setUpdatedLabel(QStringLiteral("Getting download information..."));
    setButton(QStringLiteral("Cancel download..."), ButtonAction::CancelDownload, true);
    setState(State::Downloading);
}

void NamesDatabaseUpdater::downloadProgressed(qint64 written, qint64 expected, qint64 chunk)
{
    if (expected == written)
        setUpdatedLabel(QStringLiteral("Finished Downloading... %1KB").arg(kilobytes(expected)));
    else if (expected < 0)
        setUpdatedLabel(QStringLiteral("Downloading... %1KB").arg(kilobytes(chunk)));
    else
        setUpdatedLabel(QStringLiteral("Downloading... %1KB of %2KB").arg(kilobytes(written), kilobytes(expected)));
}

void NamesDatabaseUpdater::downloadReplied(const CappedDownload::Result& result)
{
    request = nullptr;
    if (!result.succeeded()) {
        qCWarning(lcNames, "names download: %s", qUtf8Printable(result.reason));
        downloadFailed(result.reason);
        return;
    }
    storeCSV(result.body);
}

void NamesDatabaseUpdater::downloadFailed(const QString& reason)
{
    setUpdatedLabel(withReason(downloadFailedText, reason));
    resetDownloadButton();
    resetDatabaseAndNamesVersions();
    cleanupFiles();
    end(Outcome::Failed);
}

void NamesDatabaseUpdater::storeCSV(const QByteArray& bytes)
{
    QDir().mkpath(database.supportFolder());
    QFile copy(database.downloadedCSVPath());
    if (copy.open(QIODevice::WriteOnly | QIODevice::Truncate))
        copy.write(bytes);
    copy.close();
    generateDatabaseFromCSV(NamesDatabaseBuilder::linesFromCSV(bytes));
}

void NamesDatabaseUpdater::generateDatabaseFromCSV(const QStringList& lines)
{
    // Flag and state first: a cancel from a slot of any change below must
    // reach this build, which then winds down as soon as it starts.
    buildCancelled = std::make_shared<std::atomic<bool>>(false);
    setState(State::Building);
    if (currentState == State::Building) {
        setSpinnerVisible(true);
        setUpdatedLabel(QStringLiteral("Generating database..."));
        setButton(QStringLiteral("Cancel database creation..."), ButtonAction::CancelDownload, true);
    }

    const std::shared_ptr<std::atomic<bool>> cancelled = buildCancelled;
    const QString path = database.buildDatabasePath();
    const ColorSpacePtr space = wellSpace;
    const quint64 thisFlow = flow;
    build = QtConcurrent::run(&buildQueue, [this, lines, path, space, cancelled, thisFlow] {
        // Start from nothing: a leftover database would keep its free pages,
        // and a leftover journal would be played back into the new file.
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
        const NamesDatabaseBuilder::Result result =
            NamesDatabaseBuilder::generateDatabaseFromCSV(lines, path, space, cancelled.get());
        QMetaObject::invokeMethod(this, [this, result, thisFlow] { buildFinished(result, thisFlow); },
                                  Qt::QueuedConnection);
    });
}

void NamesDatabaseUpdater::buildFinished(const NamesDatabaseBuilder::Result& result, quint64 buildFlow)
{
    if (buildFlow != flow)
        return; // cancelled, and a newer update has started since
    setSpinnerVisible(false);
    if (downloadCancelled || result.status == NamesDatabaseBuilder::Result::Status::Cancelled) {
        // The live database was never touched; only the leftovers go.
        cleanupFiles();
        database.updateNamesCount();
        Q_EMIT finished(Outcome::Cancelled);
        return;
    }
    // A download that held no usable row (an error page, say) must not
    // replace the names the user has.
    if (result.status != NamesDatabaseBuilder::Result::Status::Built || result.rows == 0) {
        parseFailed(result.error);
        end(Outcome::Failed);
        return;
    }
    setState(State::Installing);
    if (QString error; !replaceDBFile(&error)) {
        parseFailed(error);
        end(Outcome::Failed);
        return;
    }
    // The release is recorded only once its database is the live one.
    defaults.setInteger(releaseId, DefaultsKeys::namesID);
    defaults.setString(versionName, DefaultsKeys::namesVersion);
    defaults.synchronize();
    downloadCompleted();
    cleanupFiles();
    end(Outcome::Installed);
}

bool NamesDatabaseUpdater::replaceDBFile(QString* error)
{
    if (NamesDatabase::replaceDBFile(database.buildDatabasePath(), database.liveDatabasePath(), error))
        return true;
    qCWarning(lcNames, "cannot install the names database: %s", qUtf8Printable(*error));
    return false;
}

void NamesDatabaseUpdater::downloadCompleted()
{
    QFile::remove(database.downloadedCSVPath());
    defaults.setString(NamesDatabase::updatedDateText(), DefaultsKeys::namesIDUpdatedDate);
    defaults.synchronize();
    resetDownloadButton();
    database.updateNamesCount();
    if (cache) {
        cache->freeNamesDatabase();
        cache->cacheNamesDatabase();
    }
    setUpdatedLabel(defaults.stringForKey(DefaultsKeys::namesIDUpdatedDate));
    Q_EMIT databaseInstalled();
}

void NamesDatabaseUpdater::cleanupFiles()
{
    requestUrl.clear();
    QFile::remove(database.downloadedCSVPath());
    QFile::remove(database.buildDatabasePath());
    QFile::remove(database.buildDatabasePath() + QStringLiteral("-journal"));
    setSpinnerVisible(false);
}

void NamesDatabaseUpdater::parseFailed(const QString& reason)
{
    setUpdatedLabel(withReason(QStringLiteral("Parsing file failed..."), reason));
    resetDownloadButton();
    resetDatabaseAndNamesVersions();
    cleanupFiles();
}

void NamesDatabaseUpdater::versionCheckFailed(const QString& text, Outcome outcome)
{
    setUpdatedLabel(text);
    resetDownloadButton();
    cleanupFiles();
    versionCheckFinished();
    end(outcome);
}

void NamesDatabaseUpdater::versionCheckFinished()
{
    setSpinnerVisible(false);
    setButton(buttonText, action, true);
}

void NamesDatabaseUpdater::resetDownloadButton()
{
    setButton(QStringLiteral("Update database"), ButtonAction::StartDownload, buttonIsEnabled);
}

void NamesDatabaseUpdater::resetDatabaseAndNamesVersions()
{
    releaseId = defaults.integerForKey(DefaultsKeys::namesID);
    setNamesVersion(defaults.stringForKey(DefaultsKeys::namesVersion));
}

void NamesDatabaseUpdater::updateNameCount()
{
    const QString text = QStringLiteral("%1 unique color names")
                             .arg(static_cast<qint32>(defaults.integerForKey(DefaultsKeys::namesCountValue)));
    if (text == namesCountText)
        return;
    namesCountText = text;
    Q_EMIT namesCountChanged(text);
}

void NamesDatabaseUpdater::cancelDownload()
{
    if (currentState != State::Downloading && currentState != State::Building)
        return;
    const bool building = currentState == State::Building;
    dropRequest();
    setUpdatedLabel(QStringLiteral("Download cancelled..."));
    downloadCancelled = true;
    if (buildCancelled)
        buildCancelled->store(true);
    resetDownloadButton();
    resetDatabaseAndNamesVersions();
    setState(State::Idle);
    // A build winds down on its worker and reports back to buildFinished.
    if (!building) {
        cleanupFiles();
        Q_EMIT finished(Outcome::Cancelled);
    }
}

void NamesDatabaseUpdater::dropRequest()
{
    if (!request)
        return;
    CappedDownload* dropped = request;
    request = nullptr;
    dropped->cancel();
    dropped->deleteLater();
}

void NamesDatabaseUpdater::end(Outcome outcome)
{
    setButton(buttonText, action, true);
    setState(State::Idle);
    Q_EMIT finished(outcome);
}

void NamesDatabaseUpdater::setState(State state)
{
    if (state == currentState)
        return;
    currentState = state;
    Q_EMIT stateChanged(state);
}

void NamesDatabaseUpdater::setUpdatedLabel(const QString& text)
{
    if (text == updatedText)
        return;
    updatedText = text;
    Q_EMIT updatedLabelChanged(text);
}

void NamesDatabaseUpdater::setNamesVersion(const QString& text)
{
    if (text == versionName)
        return;
    versionName = text;
    Q_EMIT namesVersionChanged(text);
}

void NamesDatabaseUpdater::setButton(const QString& title, ButtonAction newAction, bool enabled)
{
    if (title == buttonText && newAction == action && enabled == buttonIsEnabled)
        return;
    buttonText = title;
    action = newAction;
    buttonIsEnabled = enabled;
    Q_EMIT buttonChanged();
}

void NamesDatabaseUpdater::setSpinnerVisible(bool visible)
{
    if (visible == spinnerIsVisible)
        return;
    spinnerIsVisible = visible;
    Q_EMIT spinnerVisibleChanged(visible);
}
