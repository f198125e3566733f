#include "ShortcutValidator.h"

#include <QCoreApplication>

ShortcutValidator& ShortcutValidator::sharedValidator()
{
    static ShortcutValidator validator;
    return validator;
}

bool ShortcutValidator::isShortcutValid(const Shortcut& shortcut) const
{
    const qint64 key = shortcut.keyCode();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return true;
    const quint64 flags = shortcut.modifierFlags();
    if (flags == 0)
        return false;
    if (flags & (Shortcut::command | Shortcut::control))
        return true;
    if (flags & Shortcut::option)
        return key == Qt::Key_Space || key == Qt::Key_Escape || allowAnyShortcutWithOptionModifier;
    return false;
}

bool ShortcutValidator::isShortcutAlreadyTaken(const Shortcut& shortcut, const QList<Command>& commands,
                                               QString* explanation) const
{
    for (const Command& command : commands) {
        if (command.shortcut != shortcut)
            continue;
        if (explanation) {
            *explanation = QCoreApplication::translate(
                               "ShortcutValidator",
                               "This shortcut cannot be used because it is already used by the menu item ‘%1’.")
                               .arg(command.title);
        }
        return true;
    }
    return false;
}

QString ShortcutValidator::systemExplanation()
{
    return QCoreApplication::translate(
        "ShortcutValidator",
        "This combination cannot be used because it is already used by a system-wide keyboard shortcut.\n"
        "If you really want to use this key combination, most shortcuts can be changed in the Keyboard "
        "settings of your desktop.");
}
