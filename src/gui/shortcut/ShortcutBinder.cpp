#include "ShortcutBinder.h"

#include "ShortcutMonitor.h"
#include "settings/UserDefaults.h"

ShortcutBinder::ShortcutBinder(UserDefaults& defaults, ShortcutMonitor& monitor)
    : defaults(&defaults)
    , monitor(&monitor)
{
    observation = QObject::connect(&defaults, &UserDefaults::valueChanged, &monitor, [this](const QString& key) {
        if (actions.contains(key))
            receive(key);
    });
}

ShortcutBinder::~ShortcutBinder()
{
    QObject::disconnect(observation);
    if (monitor) {
        for (const Shortcut& shortcut : std::as_const(shortcuts))
            monitor->unregisterShortcut(shortcut);
    }
}

void ShortcutBinder::bindShortcut(const QString& defaultsKey, std::function<void()> action)
{
    Q_ASSERT(!defaultsKey.contains(u'.') && !defaultsKey.contains(u' '));
    actions.insert(defaultsKey, std::move(action));
    receive(defaultsKey);
}

void ShortcutBinder::unbindShortcut(const QString& defaultsKey)
{
    if (const auto shortcut = boundShortcut(defaultsKey))
        monitor->unregisterShortcut(*shortcut);
    shortcuts.remove(defaultsKey);
    actions.remove(defaultsKey);
}

void ShortcutBinder::registerDefaultShortcuts(const QHash<QString, Shortcut>& defaultShortcuts)
{
    QVariantMap stored;
    for (auto it = defaultShortcuts.cbegin(); it != defaultShortcuts.cend(); ++it)
        stored.insert(it.key(), it.value().archive());
    defaults->registerDefaults(stored);
}

std::optional<Shortcut> ShortcutBinder::boundShortcut(const QString& defaultsKey) const
{
    const auto it = shortcuts.constFind(defaultsKey);
    return it == shortcuts.cend() ? std::nullopt : std::optional<Shortcut>(*it);
}

void ShortcutBinder::receive(const QString& defaultsKey)
{
    // The old one goes first: an equal new shortcut must not lose its grab
    // to the old one's release.
    if (const auto old = boundShortcut(defaultsKey))
        monitor->unregisterShortcut(*old);
    shortcuts.remove(defaultsKey);
    const auto shortcut = Shortcut::unarchive(defaults->objectForKey(defaultsKey));
    if (!shortcut || !shortcut->hasKey())
        return;
    // A refused registration still counts as the key's shortcut: the
    // monitor keeps the reason for the recorder to show.
    shortcuts.insert(defaultsKey, *shortcut);
    monitor->registerShortcut(*shortcut, actions.value(defaultsKey));
}
