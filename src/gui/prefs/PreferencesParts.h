#pragma once

#include <functional>

class ColorSpaceRegistry;
class NamesDatabaseUpdater;
class NotificationCenter;
class QWidget;
class UserDefaults;

// What the preferences window works with; all of it outlives the window.
struct PreferencesParts
{
    UserDefaults& defaults;
    const ColorSpaceRegistry& spaces;
    NotificationCenter& center;
    // The update of the names database, made on first use; where it answers
    // none (no names database) the window has no Names pane.
    std::function<NamesDatabaseUpdater*()> namesUpdater;
    // The recorder of the global shortcut, bound to "shortcutKey" (style 1);
    // empty: the General pane shows a disabled placeholder.
    std::function<QWidget*(QWidget* parent)> shortcutRecorder;
};
