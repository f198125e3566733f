#pragma once

#include "login/SessionBusNames.h"

#include <QDBusConnection>
#include <QObject>

// One Huelark per session. The first program owns the name
// "com.quillfen.Huelark" on the session bus and answers OpenWindow, Toggle,
// Show and Hide there; a second one finds the name taken, passes its command
// (open the window, or what `--toggle`, `--show`, `--hide` ask) to the owner
// and ends. Without a session bus every start runs on its own.
class SingleInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.quillfen.Huelark.Application")

public:
    static constexpr auto serviceName = SessionBusNames::applicationIdentifier;
    static constexpr auto objectPath = SessionBusNames::objectPath;

    // What a second start asks of the running program.
    // What a second start asks of the running program; `Nothing` for a start
    // at login, which must not open a window the user did not ask for.
    enum class Command { OpenWindow, Toggle, Show, Hide, Nothing };

    enum class Claim {
        First,          // this program owns the name now
        AlreadyRunning, // another one does and was asked to open its window
        NoBus,          // no session bus: run without the check
    };

    explicit SingleInstance(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~SingleInstance() override;

    Claim claim(Command command = Command::OpenWindow);

public Q_SLOTS:
    // Called over the bus by a second start.
    Q_SCRIPTABLE void OpenWindow();
    Q_SCRIPTABLE void Toggle();
    Q_SCRIPTABLE void Show();
    Q_SCRIPTABLE void Hide();

Q_SIGNALS:
    void openWindowRequested();
    void toggleRequested();
    void showRequested();
    void hideRequested();

private:
    QDBusConnection bus;
    bool ownsName = false;
};
