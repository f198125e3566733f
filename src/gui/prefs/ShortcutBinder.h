#pragma once

#include <QString>

#include <functional>

// Binds the global shortcut stored under a settings key to an action.
//
// Global shortcuts arrive in a later change. Until then the program runs
// with `NoShortcutBinder`, which grabs no key.
class ShortcutBinder
{
public:
    virtual ~ShortcutBinder() = default;

    virtual void bindShortcut(const QString& defaultsKey, std::function<void()> action) = 0;
    virtual void unbindShortcut(const QString& defaultsKey) = 0;
};

class NoShortcutBinder final : public ShortcutBinder
{
public:
    void bindShortcut(const QString&, std::function<void()>) override {}
    void unbindShortcut(const QString&) override {}
};
