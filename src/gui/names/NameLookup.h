#pragma once

#include "colour/Color.h"
#include "colour/ColorSpace.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class NamesDatabaseUpdater;

// The colour-names database as the program uses it: the closest name of a
// colour, the code of a typed name, the names completing a typed text, the
// cache's life cycle and the Names preferences.
//
// `NoNameLookup` stands in where there are no names (tests of other parts):
// every colour has an empty name, no name has a code, nothing completes and
// nothing is loaded or written. The program runs with DatabaseNameLookup.
class NameLookup : public QObject
{
    Q_OBJECT

public:
    // The closest name of a colour, callable from any thread.
    using ClosestName = std::function<QString(const Color&)>;

    ~NameLookup() override = default;

    // First start: copies the bundled database into the support folder.
    virtual void createSupportFolderAndNamesDatabase() = 0;
    // Loads the names into memory unless they already are.
    virtual void cacheNamesDatabase() = 0;
    virtual void freeNamesDatabase() = 0;
    // The name of the nearest known colour; `color` is in the window's space.
    virtual QString closestColorNameToColor(const Color& color) = 0;
    // The stored-form hexadecimal code of an exactly matching name.
    virtual std::optional<QString> hexCodeForName(const QString& name) = 0;
    // The names that complete `text`, in the order the name field lists them.
    virtual QStringList completions(const QString&) { return {}; }

    // closestColorNameToColor for threads other than the main one (the
    // history writer). It holds nothing of this object, so it stays safe to
    // call after this object is gone. Empty where there are no names.
    virtual ClosestName closestColorNameOnAnyThread() const { return {}; }

    // The space the window holds its colours in; an update reads the
    // downloaded codes into it, as the window reads typed ones.
    virtual void setWellColorSpace(const ColorSpacePtr&) {}

    // The Names preferences: the database's size, release and update.
    virtual bool hasNamesPreferences() const { return false; }
    // The update behind them, made on first use; none without preferences.
    virtual NamesDatabaseUpdater* namesPreferencesUpdater() { return nullptr; }

Q_SIGNALS:
    // The names changed (loaded, reloaded, grown): names shown so far may
    // be stale.
    void namesChanged();
};

class NoNameLookup final : public NameLookup
{
public:
    void createSupportFolderAndNamesDatabase() override {}
    void cacheNamesDatabase() override {}
    void freeNamesDatabase() override {}
    QString closestColorNameToColor(const Color&) override { return {}; }
    std::optional<QString> hexCodeForName(const QString&) override { return std::nullopt; }
};
