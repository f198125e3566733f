#include "HotKey.h"

#include "Log.h"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <atomic>
#include <utility>

namespace {

// X keysyms of the Qt keys whose codes are not the Latin-1 character.
constexpr std::pair<int, xcb_keysym_t> specialKeys[] = {
    { Qt::Key_Escape, 0xff1b },   { Qt::Key_Tab, 0xff09 },      { Qt::Key_Backtab, 0xfe20 },
    { Qt::Key_Backspace, 0xff08 }, { Qt::Key_Return, 0xff0d },  { Qt::Key_Enter, 0xff8d },
    { Qt::Key_Insert, 0xff63 },   { Qt::Key_Delete, 0xffff },   { Qt::Key_Pause, 0xff13 },
    { Qt::Key_Print, 0xff61 },    { Qt::Key_Home, 0xff50 },     { Qt::Key_End, 0xff57 },
    { Qt::Key_Left, 0xff51 },     { Qt::Key_Up, 0xff52 },       { Qt::Key_Right, 0xff53 },
    { Qt::Key_Down, 0xff54 },     { Qt::Key_PageUp, 0xff55 },   { Qt::Key_PageDown, 0xff56 },
    { Qt::Key_Menu, 0xff67 },     { Qt::Key_Help, 0xff6a },     { Qt::Key_Clear, 0xff0b },
};

xcb_keysym_t keysymForKey(qint64 key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return xcb_keysym_t(0xffbe + (key - Qt::Key_F1));
    for (const auto& [qtKey, keysym] : specialKeys) {
        if (qtKey == key)
            return keysym;
    }
    // Qt names letters by their capital; the key carries the small one.
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return xcb_keysym_t(key - Qt::Key_A + 'a');
    if (key >= 0x20 && key <= 0xff)
        return xcb_keysym_t(key);
    return 0;
}

std::uint16_t xModifiers(const Shortcut& shortcut)
{
    std::uint16_t modifiers = 0;
    const quint64 flags = shortcut.modifierFlags();
    if (flags & Shortcut::shift)
        modifiers |= XCB_MOD_MASK_SHIFT;
    if (flags & Shortcut::command)
        modifiers |= XCB_MOD_MASK_CONTROL;
    if (flags & Shortcut::option)
        modifiers |= XCB_MOD_MASK_1;
    if (flags & Shortcut::control)
        modifiers |= XCB_MOD_MASK_4;
    return modifiers;
}

// The modifier bit Num Lock sets on this display (Mod2 on most).
std::uint16_t numLockMask(xcb_connection_t* connection, xcb_key_symbols_t* symbols)
{
    std::uint16_t mask = XCB_MOD_MASK_2;
    xcb_keycode_t* numLock = xcb_key_symbols_get_keycode(symbols, 0xff7f);
    xcb_get_modifier_mapping_reply_t* mapping =
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr);
    if (numLock && mapping) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping);
        const int perModifier = mapping->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                if (codes[modifier * perModifier + i] == *numLock)
                    mask = std::uint16_t(1 << modifier);
            }
        }
    }
    free(mapping);
    free(numLock);
    return mask;
}

constexpr std::uint16_t watchedModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

std::atomic<quint32> lastCarbonID { 0 };

} // namespace

HotKey::HotKey(xcb_connection_t* connection, const Shortcut& shortcut, std::uint16_t modifiers)
    : shortcut(shortcut)
    , carbonID(++lastCarbonID)
    , connection(connection)
    , modifiers(modifiers)
{
}

std::unique_ptr<HotKey> HotKey::registeredHotKeyWithShortcut(xcb_connection_t* connection, const Shortcut& shortcut,
                                                             Refusal* refusal)
{
    const auto refuse = [refusal](Refusal why) {
        if (refusal)
            *refusal = why;
        return nullptr;
    };
    // No key would be key code 0, which X reads as "any key": never grab that.
    const xcb_keysym_t keysym = shortcut.hasKey() ? keysymForKey(shortcut.keyCode()) : 0;
    if (!connection || keysym == 0)
        return refuse(Refusal::NoKey);

    std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(xcb_key_symbols_alloc(connection),
                                                                                 &xcb_key_symbols_free);
    std::unique_ptr<HotKey> hotKey(new HotKey(connection, shortcut, xModifiers(shortcut)));
    if (xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols.get(), keysym)) {
        for (xcb_keycode_t* code = codes; *code != XCB_NO_SYMBOL; ++code) {
            if (!hotKey->keyCodes.contains(*code))
                hotKey->keyCodes << *code;
        }
        free(codes);
    }
    if (hotKey->keyCodes.isEmpty())
        return refuse(Refusal::NoKey);
    const std::uint16_t numLock = numLockMask(connection, symbols.get());
    hotKey->lockCombinations = { 0, XCB_MOD_MASK_LOCK, numLock, std::uint16_t(numLock | XCB_MOD_MASK_LOCK) };

    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    QList<xcb_void_cookie_t> cookies;
    for (const std::uint8_t code : std::as_const(hotKey->keyCodes)) {
        for (const std::uint16_t locks : std::as_const(hotKey->lockCombinations)) {
            cookies << xcb_grab_key_checked(connection, 1, root, hotKey->modifiers | locks, code,
                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        }
    }
    Refusal result = Refusal::None;
    for (const xcb_void_cookie_t cookie : std::as_const(cookies)) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            if (result == Refusal::None)
                result = error->error_code == XCB_ACCESS ? Refusal::HeldElsewhere : Refusal::Failed;
            free(error);
        }
    }
    if (result != Refusal::None) {
        qCInfo(lcShortcut, "could not grab %s: %s", qPrintable(shortcut.description()),
               result == Refusal::HeldElsewhere ? "another program holds it" : "the display refused");
        // The destructor releases the grabs that did succeed.
        return refuse(result);
    }
    if (refusal)
        *refusal = Refusal::None;
    return hotKey;
}

HotKey::~HotKey()
{
    if (lockCombinations.isEmpty())
        return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    for (const std::uint8_t code : std::as_const(keyCodes)) {
        for (const std::uint16_t locks : std::as_const(lockCombinations))
            xcb_ungrab_key(connection, code, root, modifiers | locks);
    }
    xcb_flush(connection);
}

bool HotKey::matches(std::uint8_t keyCode, std::uint16_t state) const
{
    return (state & watchedModifiers) == modifiers && keyCodes.contains(keyCode);
}
