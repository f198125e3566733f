#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM (a logout, `kill`), SIGINT and SIGHUP brought back to the event
// loop as a Qt signal, so the program can end the way quitting does and
// keep the current colour. The handler only writes a byte into a pipe:
// nothing else is safe inside a signal handler.
//
// One at a time; the default handling comes back when it is destroyed.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void received(int signal);

private:
    void readPipe();

    QSocketNotifier* notifier = nullptr;
};
