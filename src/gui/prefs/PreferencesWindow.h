#pragma once

// The preferences window, created on first use and kept until the program
// ends.
//
// The preferences window arrives in a later change. Until then the program
// runs with `NoPreferencesWindow`: `available()` is false, so the button and
// the tray's Preferences and About commands stay disabled.
class PreferencesWindow
{
public:
    virtual ~PreferencesWindow() = default;

    virtual bool available() const = 0;
    virtual bool isVisible() const = 0;
    virtual void openPreferencesWindow() = 0;
    // Opens the window on its About pane.
    virtual void aboutHuelark() = 0;
    // Brings the window to the front when it is visible.
    virtual void raise() = 0;
};

class NoPreferencesWindow final : public PreferencesWindow
{
public:
    bool available() const override { return false; }
    bool isVisible() const override { return false; }
    void openPreferencesWindow() override {}
    void aboutHuelark() override {}
    void raise() override {}
};
