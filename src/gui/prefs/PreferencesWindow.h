#pragma once

#include <QString>

// The preferences window, created on first use and kept until the program
// ends.
//
// The program runs with LazyPreferencesWindow; `NoPreferencesWindow` stands
// in where there is none (tests of other parts): `available()` is false, so
// the button and the tray's Preferences and About commands stay disabled.
//
// The window switches panes on the notification "changePrefsTab", whose
// "tab" is the identifier of a pane. Identifiers are fixed strings: the
// window stores its selection and each pane's size under them.
class PreferencesWindow
{
public:
    virtual ~PreferencesWindow() = default;

    static QString aboutPaneIdentifier() { return QStringLiteral("AboutPreferences_en"); }
    static QString namesPaneIdentifier() { return QStringLiteral("NamesPreferences_en"); }

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
