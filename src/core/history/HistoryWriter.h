#pragma once

#include "HistoryDatabase.h"

#include "colour/Color.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

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

// Records entries off the main thread, on the thread it lives in, with a
// connection of its own: it looks up the colour's name, finds or makes the
// day, and commits the entry. Entries are recorded one at a time in the
// order they were handed over.
class HistoryWriter : public QObject
{
    Q_OBJECT

public:
    using ClosestName = std::function<QString(const Color&)>;

    // `closestName` runs on the writer's thread; empty means no names.
    HistoryWriter(const QString& filePath, ClosestName closestName);

    // Records one entry; answers what was written, or nothing when the
    // entry was not recorded (the reason is logged). The store file is
    // opened on first use.
    std::optional<NewHistoryItem> save(const PendingHistoryItem& item);

private:
    QString filePath;
    ClosestName closestName;
    HistoryDatabase database;
};
