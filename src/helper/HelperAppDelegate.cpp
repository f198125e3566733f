#include "HelperAppDelegate.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QTimer>

#include <cerrno>
#include <signal.h>

Q_LOGGING_CATEGORY(lcHelper, "huelark.login")

namespace {

using SessionBusNames::objectPath;
constexpr auto signalName = SessionBusNames::helperQuitSignal;

// The queued exit lets applicationWillFinishLaunching() decide before the
// loop runs, as QCoreApplication::exit() only ends a running loop.
void exitSoon(int status)
{
    QTimer::singleShot(0, qApp, [status] { QCoreApplication::exit(status); });
}

} // namespace

HelperAppDelegate::HelperAppDelegate(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , bus(std::move(bus))
{
}

QString HelperAppDelegate::mainProgram()
{
    const QString folder = QCoreApplication::applicationDirPath();
    const QStringList candidates {
        QDir::cleanPath(folder + QLatin1String("/" HUELARK_BIN_FROM_HELPER "/huelark")),
        QDir::cleanPath(folder + QLatin1String("/../gui/huelark")),
    };
    for (const QString& candidate : candidates) {
        const QFileInfo file(candidate);
        if (file.isFile() && file.isExecutable())
            return candidate;
    }
    return candidates.first();
}

void HelperAppDelegate::applicationWillFinishLaunching()
{
    const QLatin1String name(applicationIdentifier);
    // Listening comes first: a Huelark started below may finish its launch,
    // and send its notice, before this function returns.
    const bool listening = bus.isConnected()
        && bus.connect(QString(), QLatin1String(objectPath), name, QLatin1String(signalName), this,
                       SLOT(terminateHuelarkLoginHelper(QString)));
    if (listening && bus.interface()->isServiceRegistered(name)) {
        qCDebug(lcHelper, "Huelark is running already: nothing to start");
        return;
    }
    if (!launchMainProgram()) {
        exitSoon(1);
        return;
    }
    if (!listening) {
        qCInfo(lcHelper, "no session bus: Huelark started, nothing to wait for");
        exitSoon(0);
        return;
    }
    watchMainProgram();
}

// The program runs detached (it must outlive the helper), so it is no child
// to wait for: its process is looked for once a second instead.
void HelperAppDelegate::watchMainProgram()
{
    auto* watch = new QTimer(this);
    connect(watch, &QTimer::timeout, this, [this, watch] {
        if (::kill(pid_t(started), 0) == 0 || errno != ESRCH)
            return;
        watch->stop();
        qCWarning(lcHelper, "Failed to open Huelark: it ended before its start was done");
        QCoreApplication::exit(1);
    });
    watch->start(1000);
}

bool HelperAppDelegate::launchMainProgram()
{
    const QString program = mainProgram();
    QProcess process;
    process.setProgram(program);
    process.setArguments({ QStringLiteral("--at-login") });
    // The helper's own environment is the session's (display, bus, XDG
    // folders): the program needs all of it.
    process.setWorkingDirectory(QDir::homePath());
    if (process.startDetached(&started))
        return true;
    const QFileInfo file(program);
    const QString why = !file.exists() ? QStringLiteral("%1 is missing").arg(program)
        : !file.isExecutable()         ? QStringLiteral("%1 is not executable").arg(program)
                                       : QStringLiteral("%1 could not be started").arg(program);
    qCWarning(lcHelper, "Failed to open Huelark: %s", qPrintable(why));
    return false;
}

void HelperAppDelegate::terminateHuelarkLoginHelper(const QString& object)
{
    if (object == QLatin1String(applicationIdentifier)) {
        killApp();
        return;
    }
    qCDebug(lcHelper, "%s for \"%s\" ignored: not Huelark's", signalName, qPrintable(object));
}

void HelperAppDelegate::killApp() { QCoreApplication::quit(); }
