#pragma once

#include "colour/Color.h"

#include <QString>

#include <optional>

// The colour-names database as the main window uses it: the closest name of
// a colour, the code of a typed name, and the cache's life cycle.
//
// The names database arrives in a later change. Until then the program runs
// with `NoNameLookup`: every colour has an empty name, no name has a code,
// and nothing is loaded or written.
class NameLookup
{
public:
    virtual ~NameLookup() = default;

    // First start: copies the bundled database into the support folder.
    virtual void createSupportFolderAndNamesDatabase() = 0;
    // Loads the names into memory unless they already are.
    virtual void cacheNamesDatabase() = 0;
    virtual void freeNamesDatabase() = 0;
    // The name of the nearest known colour; `color` is in the window's space.
    virtual QString closestColorNameToColor(const Color& color) = 0;
    // The stored-form hexadecimal code of an exactly matching name.
    virtual std::optional<QString> hexCodeForName(const QString& name) = 0;
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
