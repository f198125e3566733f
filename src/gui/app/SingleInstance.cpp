#include "SingleInstance.h"

#include "Log.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>

SingleInstance::SingleInstance(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , bus(bus)
{
}

SingleInstance::~SingleInstance()
{
    if (ownsName) {
        bus.unregisterObject(QLatin1String(objectPath));
        bus.unregisterService(QLatin1String(serviceName));
    }
}

SingleInstance::Claim SingleInstance::claim(Command command)
{
    if (!bus.isConnected() || !bus.interface()) {
        qCInfo(lcApp, "no session bus: not checking for a running Huelark");
        return Claim::NoBus;
    }
    // The object first, so a second start that wins the race for the name
    // against our export still finds someone to answer.
    bus.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        QLatin1String(serviceName), QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        ownsName = true;
        return Claim::First;
    }
    bus.unregisterObject(QLatin1String(objectPath));
    if (command == Command::Nothing)
        return Claim::AlreadyRunning;

    QDBusInterface running(QLatin1String(serviceName), QLatin1String(objectPath),
                           QStringLiteral("com.quillfen.Huelark.Application"), bus);
    running.setTimeout(5000);
    static constexpr const char* methods[] = { "OpenWindow", "Toggle", "Show", "Hide" };
    const QDBusMessage answer = running.call(QLatin1String(methods[int(command)]));
    if (answer.type() == QDBusMessage::ErrorMessage) {
        // The owner is going away or hung: better a second window than none.
        qCWarning(lcApp, "a running Huelark did not answer (%s); starting anyway",
                  qPrintable(answer.errorMessage()));
        return Claim::NoBus;
    }
    return Claim::AlreadyRunning;
}

void SingleInstance::OpenWindow() { Q_EMIT openWindowRequested(); }
void SingleInstance::Toggle() { Q_EMIT toggleRequested(); }
void SingleInstance::Show() { Q_EMIT showRequested(); }
void SingleInstance::Hide() { Q_EMIT hideRequested(); }
