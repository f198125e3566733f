#pragma once

#include "HistoryDatabase.h"

#include "colour/Color.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QThread;

// An entry as the main thread hands it over: everything that reads the
// settings or the window is already done.
struct PendingHistoryItem
{
    Color color;       // the recorded colour, in the window's colour space
    QByteArray last;   // its archived hex code
    QByteArray colors; // the archived codes of the swatch column
    QDateTime now;     // the moment of recording: the entry's time and day
    QLocale locale;    // the locale its day string is written in
};

// Records entries on a thread of its own with a connection of its own: it
// looks up the colour's name, finds or makes the day, and commits the entry,
// one entry at a time in the order they were handed over.
//
// The thread runs its own queue rather than a Qt event loop, so that
// entries handed over just before the program ends are still written when
// the writer is destroyed, even after the application object is gone.
class HistoryWriter
{
public:
    using ClosestName = std::function<QString(const Color&)>;
    using Saved = std::function<void(const NewHistoryItem&)>;

    // `closestName` and `saved` run on the writer's thread; `saved` after
    // each commit. An empty `closestName` gives empty names.
    HistoryWriter(const QString& filePath, ClosestName closestName, Saved saved);
    // Writes everything handed over, then stops the thread.
    ~HistoryWriter();
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    void enqueue(PendingHistoryItem item);
    // Blocks until every entry handed over has been dealt with.
    void waitUntilIdle();

    // Records one entry on the calling thread; answers what was written, or
    // nothing when the entry was not recorded (the reason is logged). The
    // store file is opened on first use.
    std::optional<NewHistoryItem> save(const PendingHistoryItem& item);

private:
    void run();

    QString filePath;
    ClosestName closestName;
    Saved saved;
    HistoryDatabase database; // the writer thread's own

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<PendingHistoryItem> queue;
    bool busy = false;
    bool stopping = false;
    std::unique_ptr<QThread> thread;
};
