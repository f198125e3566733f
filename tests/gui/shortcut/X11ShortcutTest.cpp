// Runs on its own Xvfb with the xcb platform (see tests/CMakeLists.txt).
#include "../app/AppHarness.h"
#include "TempHome.h"

#include "settings/UserDefaults.h"
#include "shortcut/ShortcutBinder.h"
#include "shortcut/ShortcutMonitor.h"
#include "shortcut/ShortcutView.h"

#include <QGuiApplication>
#include <QTest>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <gtest/gtest.h>

namespace {

// Another client of the same display: it types, and it grabs keys first.
class OtherClient
{
public:
    OtherClient()
        : connection(xcb_connect(nullptr, nullptr))
        , symbols(xcb_key_symbols_alloc(connection))
        , root(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root)
    {
    }
    ~OtherClient()
    {
        xcb_key_symbols_free(symbols);
        xcb_disconnect(connection);
    }
    xcb_keycode_t code(xcb_keysym_t keysym)
    {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
        const xcb_keycode_t first = codes ? codes[0] : 0;
        free(codes);
        return first;
    }
    // Presses the keys in order and releases them in reverse, as a person would.
    void type(std::initializer_list<xcb_keysym_t> keys)
    {
        for (const xcb_keysym_t key : keys)
            xcb_test_fake_input(connection, XCB_KEY_PRESS, code(key), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
            xcb_test_fake_input(connection, XCB_KEY_RELEASE, code(*key), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(connection);
    }
    bool grab(xcb_keysym_t key, uint16_t modifiers)
    {
        auto cookie = xcb_grab_key_checked(connection, 1, root, modifiers, code(key), XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(connection, cookie);
        free(error);
        return !error;
    }

private:
    xcb_connection_t* connection;
    xcb_key_symbols_t* symbols;
    xcb_window_t root;
};

constexpr xcb_keysym_t controlL = 0xffe3, altL = 0xffe9, numLock = 0xff7f, k = 'k', j = 'j';
const Shortcut ctrlAltK(Qt::Key_K, Shortcut::command | Shortcut::option);
const Shortcut ctrlAltJ(Qt::Key_J, Shortcut::command | Shortcut::option);

// The program as main() builds it: its stored shortcut, switched on, hides
// and shows the window from any other window while it is bound.
TEST(X11Shortcut, TheProgramsWindowTogglesWithItsShortcutWhileBound)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under Xvfb";
    AppHarness app;
    app.settings().setObject(ctrlAltK.archive(), "shortcutKey");
    app.settings().setBool(true, "toggleShortcutKey");
    app.start([&app](AppParts& parts) { parts.buildShortcuts(app.settings()); });
    ShortcutMonitor& monitor = ShortcutMonitor::sharedMonitor();
    ASSERT_EQ(monitor.service(), ShortcutMonitor::Service::X11);
    ASSERT_TRUE(app.window().isVisible());
    OtherClient keyboard;
    const auto pressGives = [&](bool visible) {
        keyboard.type({ controlL, altL, k });
        return QTest::qWaitFor([&] { return app.window().isVisible() == visible; }, 5000);
    };
    ASSERT_TRUE(pressGives(false));
    // With Num Lock on, as on many keyboards, it still answers.
    keyboard.type({ numLock });
    ASSERT_TRUE(pressGives(true));
    keyboard.type({ numLock });

    // Storing the same shortcut again keeps it working.
    app.settings().removeObjectForKey("shortcutKey");
    EXPECT_FALSE(monitor.isShortcutRegistered(ctrlAltK));
    app.settings().setObject(ctrlAltK.archive(), "shortcutKey");
    ASSERT_TRUE(pressGives(false));

    // Typed while recording, it is the recorder's key.
    ShortcutView recorder(app.settings(), "shortcutKey");
    recorder.setRecording(true);
    keyboard.type({ controlL, altL, k });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.recording(); }, 5000));
    EXPECT_EQ(recorder.shortcutValue(), ctrlAltK);
    EXPECT_FALSE(app.window().isVisible());

    app.settings().setBool(false, "toggleShortcutKey");
    EXPECT_FALSE(monitor.isShortcutRegistered(ctrlAltK));
    EXPECT_TRUE(keyboard.grab(k, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1)) << "the grab is released";
}

TEST(X11Shortcut, AShortcutAnotherProgramHoldsIsRefusedAndTheRecorderSaysSo)
{
    TempHome home;
    UserDefaults defaults;
    OtherClient other;
    ASSERT_TRUE(other.grab(j, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
    ShortcutMonitor& monitor = ShortcutMonitor::sharedMonitor();
    EXPECT_TRUE(monitor.isShortcutAlreadyTakenBySystem(ctrlAltJ));
    EXPECT_FALSE(monitor.isShortcutAlreadyTakenBySystem(ctrlAltK));

    ShortcutBinder binder(defaults, monitor);
    ShortcutView view(defaults, "shortcutKey");
    binder.bindShortcut("shortcutKey", [] {});
    view.setShortcutValue(ctrlAltJ);
    EXPECT_FALSE(monitor.isShortcutRegistered(ctrlAltJ));
    EXPECT_EQ(view.note(), "Another program already uses this shortcut.");
    view.setShortcutValue(ctrlAltK);
    EXPECT_TRUE(monitor.isShortcutRegistered(ctrlAltK));
    EXPECT_EQ(view.note(), "");
}

} // namespace
