#pragma once

#include <QCoreApplication>
#include <QString>

// The preferences window, created on first use and kept until the program
// ends.
//
// The preferences window arrives in a later change. Until then the program
// runs with `NoPreferencesWindow`: `available()` is false, so the button and
// the tray's Preferences and About commands stay disabled.
//
// The window switches panes on the notification "changePrefsTab", whose
// "tab" is the identifier of a pane.
class PreferencesWindow
{
public:
    virtual ~PreferencesWindow() = default;

    // The identifier of the About pane.
    static QString aboutPaneIdentifier()
    {
        return QCoreApplication::translate("PreferencesWindow", "AboutPreferences_en");
    }

    virtual bool available() const = 0;
    virtual bool isVisible() const = 0;
    virtual void openPreferencesWindow() = 0;
    // Brings the window to the front when it is visible.
    virtual void raise() = 0;
};

class NoPreferencesWindow final : public PreferencesWindow
{
public:
    bool available() const override { return false; }
    bool isVisible() const override { return false; }
    void openPreferencesWindow() override {}
    void raise() override {}
};
