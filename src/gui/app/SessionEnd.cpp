#include "SessionEnd.h"

#include "Log.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = { -1, -1 };
constexpr int handled[] = { SIGTERM, SIGINT, SIGHUP };

void onSignal(int signal)
{
    const int saved = errno;
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
    errno = saved;
}

} // namespace

SessionEnd::SessionEnd(QObject* parent)
    : QObject(parent)
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QCoreApplication::aboutToQuit, this, &SessionEnd::saveRequested);
#ifndef QT_NO_SESSIONMANAGER
        connect(app, &QGuiApplication::commitDataRequest, this, &SessionEnd::saveRequested);
        connect(app, &QGuiApplication::saveStateRequest, this,
                [](QSessionManager& session) { session.setRestartHint(QSessionManager::RestartNever); });
#endif
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0) {
        qCWarning(lcApp) << "Cannot watch for termination signals:" << strerror(errno);
        return;
    }
    notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SessionEnd::readPipe);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : handled)
        sigaction(signal, &action, nullptr);
}

SessionEnd::~SessionEnd()
{
    if (!notifier)
        return;
    for (const int signal : handled)
        std::signal(signal, SIG_DFL);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void SessionEnd::readPipe()
{
    char byte = 0;
    if (::read(pipeEnds[1], &byte, 1) == 1) {
        qCInfo(lcApp) << "Ending on signal" << int(byte);
        Q_EMIT quitRequested();
    }
}
