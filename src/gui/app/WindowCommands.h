#pragma once

#include <QList>
#include <QObject>

#include <map>

class QAction;
struct AppParts;

// The commands of the program's windows and tray item.
enum class WindowCommand {
    OpenWindow,
    Palettes,
    Tools,
    Preferences,
    NamesPreferences,
    About,
    AddSwatch,
    SavePalette,
    History, // opens the window's history menu
    KeepOnlyTopSwatch, // acts on every swatch but the top one
    Feedback,
    Support,
    News,
    NamesRepository,
    CloseWindow,
    Quit,         // the window's quit: may leave the program behind its tray item
    QuitFromTray, // always ends the program
};

// Each command defined once, as one QAction that the footer buttons, the
// tray menu and the keyboard share: disabling a command disables it
// everywhere, shortcut included.
class WindowCommands : public QObject
{
    Q_OBJECT

public:
    explicit WindowCommands(QObject* parent = nullptr);

    QAction* action(WindowCommand command) const { return actions.at(command); }
    // The commands with a shortcut, for the window that takes them.
    QList<QAction*> withShortcuts() const;
    // Parts that are not there yet get no live command.
    void enableParts(const AppParts& parts);

private:
    QAction* define(WindowCommand command, const QString& text, const QKeySequence& keys);

    std::map<WindowCommand, QAction*> actions;
};
