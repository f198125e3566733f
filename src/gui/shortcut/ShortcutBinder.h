#pragma once

#include "shortcut/Shortcut.h"

#include <QHash>
#include <QMetaObject>
#include <QString>

#include <functional>
#include <optional>

class ShortcutMonitor;
class UserDefaults;

// Keeps the shortcut stored under a settings key registered with the monitor
// for as long as the key is bound: the stored shortcut is registered at once,
// and again whenever the setting changes; breaking the binding releases it.
class ShortcutBinder
{
public:
    ShortcutBinder(UserDefaults& defaults, ShortcutMonitor& monitor);
    virtual ~ShortcutBinder();
    ShortcutBinder(const ShortcutBinder&) = delete;
    ShortcutBinder& operator=(const ShortcutBinder&) = delete;

    // `defaultsKey` must contain neither "." nor " ".
    virtual void bindShortcut(const QString& defaultsKey, std::function<void()> action);
    virtual void unbindShortcut(const QString& defaultsKey);
    // Registers each shortcut as its key's default, in the stored form.
    void registerDefaultShortcuts(const QHash<QString, Shortcut>& shortcuts);

    // The shortcut registered for the key now, if any.
    std::optional<Shortcut> boundShortcut(const QString& defaultsKey) const;

protected:
    // For stand-ins that register nothing.
    ShortcutBinder() = default;

private:
    void receive(const QString& defaultsKey);

    UserDefaults* defaults = nullptr;
    ShortcutMonitor* monitor = nullptr;
    QHash<QString, std::function<void()>> actions;
    QHash<QString, Shortcut> shortcuts;
    QMetaObject::Connection observation;
};

// Binds nothing: for tests, and programs without a display.
class NoShortcutBinder final : public ShortcutBinder
{
public:
    NoShortcutBinder() = default;
    void bindShortcut(const QString&, std::function<void()>) override {}
    void unbindShortcut(const QString&) override {}
};
