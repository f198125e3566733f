#include "HistoryStore.h"

#include "HistoryLog.h"
#include "HistoryWriter.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "colour/ValueArchive.h"
#include "colour/WellColorSpace.h"
#include "settings/DefaultsKeys.h"
#include "settings/Paths.h"
#include "settings/UserDefaults.h"
#include "sqlite/SqlDatabase.h"
#include "swatches/CurrentColors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace {

// Checks the support folder the way the fatal path describes it: a file in
// its place is named in the reason, a missing folder is created.
std::optional<HistoryStoreError> prepareFolder(const QString& folder)
{
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return std::nullopt;
        return HistoryStoreError::initializationFailure(HistoryStoreError::foundAFileReason(folder));
    }
    if (errno == ENOENT) {
        if (QDir().mkpath(folder))
            return std::nullopt;
    }
    const HistoryStoreError cause = HistoryStoreError::system(errno, folder);
    return HistoryStoreError::initializationFailure(HistoryStoreError::genericFailureReason, &cause);
}

} // namespace

HistoryStore::HistoryStore(UserDefaults& defaults, const ColorSpaceRegistry& spaces, Options options, QObject* parent)
    : QObject(parent)
    , defaults(defaults)
    , spaces(spaces)
    , options(std::move(options))
{
    if (this->options.folder.isEmpty())
        this->options.folder = Paths::applicationSupportFolder();
}

// The writer's destructor writes what it was handed before it returns.
HistoryStore::~HistoryStore() = default;

QString HistoryStore::filePath() const
{
    return options.folder + u'/' + HistoryDatabase::fileName;
}

std::optional<HistoryStoreError> HistoryStore::open()
{
    if (openResult)
        return *openResult;

    std::optional<HistoryStoreError> error = prepareFolder(options.folder);
    if (!error) {
        if (std::optional<HistoryStoreError> cause = openSoundFile())
            error = HistoryStoreError::initializationFailure(HistoryStoreError::genericFailureReason, &*cause);
    }
    openResult = error;
    if (error) {
        HistoryLog::unresolvedError(*error);
        Q_EMIT openFailed(*error);
        return error;
    }

    // Runs on the writer thread after each commit; the announcement is made
    // on the main thread, and dropped if the store is gone by then.
    auto saved = [this](const NewHistoryItem& item) {
        QMetaObject::invokeMethod(
            this,
            [this, item] {
                Q_EMIT historyItemSaved(item.day, HistoryEntry::fromArchives(item.name, item.saved, item.last,
                                                                             item.colors, wellSpace()));
            },
            Qt::QueuedConnection);
    };
    writer = std::make_unique<HistoryWriter>(filePath(), options.closestColorName, saved);
    return std::nullopt;
}

std::optional<HistoryStoreError> HistoryStore::openSoundFile()
{
    std::optional<HistoryStoreError> cause = database.open(filePath(), HistoryDatabase::Access::ReadWrite);
    // A damaged page shows only when it is read, which may be weeks later in
    // the middle of recording: every page is read now, while the damage can
    // still be set aside. A check that cannot run for another reason (a busy
    // file) is no verdict; the store opens as usual.
    if (!cause) {
        cause = database.check();
        if (!cause || !HistoryDatabase::isDamage(*cause))
            return std::nullopt;
    } else if (!HistoryDatabase::isDamage(*cause)) {
        return cause;
    }

    database.close();
    QString moveError;
    const QDateTime now = options.now ? options.now() : QDateTime::currentDateTime();
    const std::optional<QString> movedTo = SqlDatabase::moveDatabaseFilesAside(filePath(), now, &moveError);
    if (!movedTo) {
        // Never written over: the damaged file stays, and so does the error.
        HistoryLog::damagedStoreKept(filePath(), *cause, moveError);
        return cause;
    }
    recovered = Recovery {filePath(), *movedTo, *cause};
    HistoryLog::damagedStoreMovedAside(filePath(), *movedTo, *cause);
    return database.open(filePath(), HistoryDatabase::Access::ReadWrite);
}

bool HistoryStore::isOpen() const
{
    return database.isOpen();
}

bool HistoryStore::ensureOpen()
{
    return !open().has_value();
}

ColorSpacePtr HistoryStore::wellSpace() const
{
    return options.wellColorSpace ? options.wellColorSpace->current() : ColorSpace::sRGB();
}

QByteArray HistoryStore::getCurrentSwatchesAndConvertToHexDataArray() const
{
    const ColorSpacePtr well = wellSpace();
    QStringList codes;
    // A swatch that is not a colour is recorded as the column shows it, so
    // restoring the entry gives the column it showed.
    for (const Color& color : CurrentColors::storedSwatches(defaults, spaces))
        codes << HexCodec::keyForColor(color, well);
    return ValueArchive::archiveStringList(codes);
}

void HistoryStore::saveHistoryItem(const Color& color)
{
    if (!ensureOpen())
        return;

    PendingHistoryItem item;
    item.color = color;
    item.last = ValueArchive::archiveString(HexCodec::keyForColor(color, wellSpace()));
    item.colors = getCurrentSwatchesAndConvertToHexDataArray();
    item.now = options.now ? options.now() : QDateTime::currentDateTime();
    item.locale = QLocale();

    writer->enqueue(std::move(item));
}

QHash<QString, QList<HistoryEntry>> HistoryStore::getHistory()
{
    if (!ensureOpen())
        return {};
    std::optional<QHash<QString, QList<HistoryEntry>>> all = database.allEntries(wellSpace());
    if (!all) {
        HistoryLog::fetchFailure(database.lastError());
        return {};
    }
    return std::move(*all);
}

QList<HistoryEntry> HistoryStore::historyForDateObjects(const QString& day, int limit, int offset)
{
    if (!ensureOpen())
        return {};
    std::optional<QList<HistoryEntry>> entries = database.entries(day, wellSpace(), limit, offset);
    if (!entries) {
        HistoryLog::fetchFailure(database.lastError());
        return {};
    }
    return std::move(*entries);
}

QStringList HistoryStore::dateManagedObjectArray()
{
    if (!ensureOpen())
        return {};
    std::optional<QStringList> days = database.days();
    if (!days) {
        HistoryLog::fetchFailure(database.lastError());
        return {};
    }
    return std::move(*days);
}

void HistoryStore::deleteAllHistory()
{
    if (!ensureOpen())
        return;
    waitForPendingSaves();
    if (!database.deleteAll())
        HistoryLog::saveFailure(database.lastError());
}

QList<PaletteRecord> HistoryStore::palettesManagedObjectArray()
{
    if (!ensureOpen())
        return {};
    std::optional<QList<PaletteRecord>> palettes = database.palettes();
    if (!palettes) {
        HistoryLog::fetchFailure(database.lastError());
        return {};
    }
    return std::move(*palettes);
}

bool HistoryStore::deletePaletteRecord(const PaletteRecord& record)
{
    if (!ensureOpen())
        return false;
    if (database.deletePalette(record.id))
        return true;
    HistoryLog::saveFailure(database.lastError());
    return false;
}

void HistoryStore::waitForPendingSaves()
{
    if (!writer)
        return;
    writer->waitUntilIdle();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
