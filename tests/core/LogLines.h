#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <mutex>
#include <utility>

// The messages logged while it lives under the categories whose names begin
// with `prefix`, from any thread (the history writer logs from its own).
// Other messages go on to the handler that was there before.
class LogLines
{
public:
    explicit LogLines(const char* prefix = "huelark")
    {
        std::lock_guard lock(state().mutex);
        state().prefix = prefix;
        state().lines.clear();
        state().previous = qInstallMessageHandler(handler);
    }
    ~LogLines() { qInstallMessageHandler(state().previous); }

    QStringList take()
    {
        std::lock_guard lock(state().mutex);
        return std::exchange(state().lines, {});
    }

private:
    struct State
    {
        std::mutex mutex;
        const char* prefix = "";
        QStringList lines;
        QtMessageHandler previous = nullptr;
    };

    static State& state()
    {
        static State s;
        return s;
    }

    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        State& s = state();
        if (qstrncmp(context.category, s.prefix, qstrlen(s.prefix)) != 0) {
            if (s.previous)
                s.previous(type, context, message);
            return;
        }
        std::lock_guard lock(s.mutex);
        s.lines << message;
    }
};
