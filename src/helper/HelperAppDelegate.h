#pragma once

#include "login/SessionBusNames.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

// What the autostart entry runs at login: starts Huelark hidden and in the
// background (`--at-login`) unless it already runs, then waits for the
// program's "terminateHuelarkLoginHelper" notice, which Huelark sends when
// its launch is done. It quits at once when there is nothing to wait for:
// the program could not be started, or there is no session bus to hear the
// notice on; and it quits when the program ends before its notice (a start
// that failed, or another Huelark that won the race).
class HelperAppDelegate : public QObject
{
    Q_OBJECT

public:
    // The bus name a running Huelark owns, and the object text of its notice.
    static constexpr auto applicationIdentifier = SessionBusNames::applicationIdentifier;

    explicit HelperAppDelegate(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    // Call before the event loop runs; the helper ends through the loop.
    void applicationWillFinishLaunching();

    // The program beside the helper: bin/ of the install tree, or src/gui
    // of the build tree.
    static QString mainProgram();

public Q_SLOTS:
    // The D-Bus signal's handler: quits when the notice is Huelark's.
    void terminateHuelarkLoginHelper(const QString& object);
    void killApp();

private:
    bool launchMainProgram();
    void watchMainProgram();

    QDBusConnection bus;
    qint64 started = 0;
};
