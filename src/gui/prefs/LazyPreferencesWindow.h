#pragma once

#include "prefs/PreferencesParts.h"
#include "prefs/PreferencesWindow.h"

#include <memory>

class PreferencesWindowController;

// The program's preferences window: made the first time it is opened, with
// the panes General, Display, Names, Converter, Updates and About, and kept
// until the program ends; closing it only hides it, so an update of the
// names goes on and the pane shows where it stands when it opens again.
class LazyPreferencesWindow final : public PreferencesWindow
{
public:
    explicit LazyPreferencesWindow(PreferencesParts parts);
    ~LazyPreferencesWindow() override;

    bool available() const override { return true; }
    bool isVisible() const override;
    void openPreferencesWindow() override;
    void raise() override;

    // None until the window is first opened.
    PreferencesWindowController* preferencesWindowController() const { return controller.get(); }

private:
    PreferencesParts parts;
    std::unique_ptr<PreferencesWindowController> controller;
};
