#include "WindowFrameAutosave.h"

#include "settings/UserDefaults.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

WindowFrameAutosave::WindowFrameAutosave(UserDefaults& defaults, const QString& autosaveName, QWidget& window,
                                         QObject* parent)
    : QObject(parent)
    , defaults(defaults)
    , name(autosaveName)
    , window(window)
    , pending(new QTimer(this))
{
    // A drag moves the window many times a second: one write when it stops.
    pending->setSingleShot(true);
    pending->setInterval(500);
    connect(pending, &QTimer::timeout, this, &WindowFrameAutosave::save);
    window.installEventFilter(this);
}

QString WindowFrameAutosave::key(const QString& autosaveName) { return QStringLiteral("Window Frame ") + autosaveName; }

bool WindowFrameAutosave::restore()
{
    const QByteArray frame = defaults.dataForKey(key(name));
    // restoreGeometry keeps the frame on a screen that still exists.
    return !frame.isEmpty() && window.restoreGeometry(frame);
}

void WindowFrameAutosave::save()
{
    pending->stop();
    if (!window.isVisible() || window.isMinimized())
        return;
    const QByteArray frame = window.saveGeometry();
    if (frame == defaults.dataForKey(key(name)))
        return;
    defaults.setData(frame, key(name));
    Q_EMIT saved();
    defaults.synchronize();
}

void WindowFrameAutosave::flush()
{
    if (pending->isActive())
        save();
}

bool WindowFrameAutosave::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window && (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        && window.isVisible())
        pending->start();
    return QObject::eventFilter(watched, event);
}
