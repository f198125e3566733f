#include "WindowFrameAutosave.h"

#include "settings/UserDefaults.h"

#include <QWidget>

namespace WindowFrameAutosave {

QString key(const QString& autosaveName) { return QStringLiteral("Window Frame ") + autosaveName; }

void save(UserDefaults& defaults, const QString& autosaveName, const QWidget& window)
{
    defaults.setData(window.saveGeometry(), key(autosaveName));
    defaults.synchronize();
}

bool restore(const UserDefaults& defaults, const QString& autosaveName, QWidget& window)
{
    const QByteArray frame = defaults.dataForKey(key(autosaveName));
    // restoreGeometry keeps the frame on a screen that still exists.
    return !frame.isEmpty() && window.restoreGeometry(frame);
}

} // namespace WindowFrameAutosave
