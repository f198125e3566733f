#pragma once

#include <QObject>

class QSocketNotifier;

// How the desktop ends the program without its quit command: SIGTERM (a
// logout, `kill`), SIGINT and SIGHUP ask it to quit; the session manager
// asks it to keep its data before the session ends. A signal handler only
// writes a byte into a pipe, read back on the event loop: nothing else is
// safe inside one.
//
// Huelark starts at login through its own setting only, so it also tells
// the session manager never to restart it with the next session.
//
// One at a time; the default signal handling comes back when it is
// destroyed.
class SessionEnd : public QObject
{
    Q_OBJECT

public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

Q_SIGNALS:
    // A termination signal arrived: end the way quitting does.
    void quitRequested();
    // The session or the event loop ends: keep what quitting keeps.
    void saveRequested();

private:
    void readPipe();

    QSocketNotifier* notifier = nullptr;
};
