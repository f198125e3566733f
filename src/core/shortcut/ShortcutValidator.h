#pragma once

#include "Shortcut.h"

#include <QList>
#include <QString>

// Decides whether a shortcut may be used as a global shortcut, and whether
// one of the program's own commands already answers to it. Whether another
// program holds it is for the monitor to find out, by asking the display.
class ShortcutValidator
{
public:
    // A command of the program with its shortcut, as a menu shows it.
    struct Command
    {
        QString title;
        Shortcut shortcut;
    };

    static ShortcutValidator& sharedValidator();

    // Alt with a key other than Space or Escape is refused unless this is on.
    bool allowAnyShortcutWithOptionModifier = false;

    // Function keys alone; anything with Ctrl or Super; Alt (with or
    // without Shift) with Space or Escape; nothing else.
    bool isShortcutValid(const Shortcut& shortcut) const;
    // True when a command has the shortcut; `explanation` then names it.
    bool isShortcutAlreadyTaken(const Shortcut& shortcut, const QList<Command>& commands,
                                QString* explanation = nullptr) const;

    // The explanation for a shortcut another program holds.
    static QString systemExplanation();
};
