#include "WindowCommands.h"

#include "app/AppParts.h"

#include <QAction>
#include <QKeySequence>

WindowCommands::WindowCommands(QObject* parent)
    : QObject(parent)
{
    using C = WindowCommand;
    define(C::OpenWindow, tr("Open Huelark"), {});
    define(C::Palettes, tr("Palettes"), QKeySequence(tr("Ctrl+P")));
    define(C::Tools, tr("Colour tools"), QKeySequence(tr("Ctrl+T")));
    // Ctrl+, everywhere, and the desktop's own key for preferences as well
    // where it has another (Ctrl+Shift+, on Plasma).
    const QKeySequence preferences(tr("Ctrl+,"));
    QAction* openPreferences = define(C::Preferences, tr("Preferences…"), preferences);
    const QList<QKeySequence> desktops = QKeySequence::keyBindings(QKeySequence::Preferences);
    if (!desktops.isEmpty() && !desktops.contains(preferences))
        openPreferences->setShortcuts(QList<QKeySequence>{preferences} + desktops);
    define(C::NamesPreferences, tr("Colour Names…"), {});
    define(C::About, tr("About Huelark"), {});
    define(C::AddSwatch, tr("Add the colour to the swatches"), QKeySequence(tr("Ctrl+D")));
    define(C::SavePalette, tr("Save the swatches as a palette"), QKeySequence(tr("Ctrl+S")));
    define(C::History, tr("History"), QKeySequence(tr("Ctrl+H")));
    define(C::KeepOnlyTopSwatch, tr("Keep Only the Top Swatch"), {});
    define(C::Feedback, tr("Send Feedback…"), {});
    define(C::Support, tr("Support"), {});
    define(C::News, tr("Huelark News"), {});
    define(C::NamesRepository, tr("Colour Names Project"), {});
    define(C::CloseWindow, tr("Close Window"), QKeySequence::Close);
    define(C::Quit, tr("Quit Huelark"), QKeySequence::Quit);
    define(C::QuitFromTray, tr("Quit Huelark"), {});
}

QAction* WindowCommands::define(WindowCommand command, const QString& text, const QKeySequence& keys)
{
    auto* action = new QAction(text, this);
    action->setShortcut(keys);
    if (!keys.isEmpty())
        action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(text).remove(QChar(0x2026)),
                                                          keys.toString(QKeySequence::NativeText)));
    // Icons are tinted for the window's footer; the tray's menu has its own look.
    action->setIconVisibleInMenu(false);
    actions[command] = action;
    return action;
}

QList<QAction*> WindowCommands::withShortcuts() const
{
    QList<QAction*> found;
    for (const auto& [command, action] : actions) {
        if (!action->shortcut().isEmpty())
            found << action;
    }
    return found;
}

void WindowCommands::enableParts(const AppParts& parts)
{
    using C = WindowCommand;
    action(C::Palettes)->setEnabled(parts.palettes->available());
    action(C::Tools)->setEnabled(parts.tools->available());
    action(C::Preferences)->setEnabled(parts.preferences->available());
    action(C::About)->setEnabled(parts.preferences->available());
    // The Names preferences are a pane of the preferences window.
    action(C::NamesPreferences)->setEnabled(parts.names->hasNamesPreferences() && parts.preferences->available());
}
