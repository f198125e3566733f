#include "HelperQuitNotice.h"

#include "Log.h"

#include "settings/Paths.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace HelperQuitNotice {

bool post()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        static bool logged = false;
        if (!logged) {
            logged = true;
            qCInfo(lcApp, "no session bus: cannot tell a login helper to quit");
        }
        return false;
    }
    QDBusMessage message = QDBusMessage::createSignal(QLatin1String(objectPath), QLatin1String(interfaceName),
                                                      QLatin1String(signalName));
    message << Paths::applicationIdentifier();
    return bus.send(message);
}

} // namespace HelperQuitNotice
