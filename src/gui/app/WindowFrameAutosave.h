#pragma once

#include <QString>

class QWidget;
class UserDefaults;

// A window's frame kept in the settings under its autosave name (the main
// window's is "Huelark"), so it comes back where the user left it.
namespace WindowFrameAutosave {

// The settings key of a frame: "Window Frame " and the autosave name.
QString key(const QString& autosaveName);

void save(UserDefaults& defaults, const QString& autosaveName, const QWidget& window);
// False when no frame is stored or it cannot be used; the window is left as
// it was then.
bool restore(const UserDefaults& defaults, const QString& autosaveName, QWidget& window);

} // namespace WindowFrameAutosave
