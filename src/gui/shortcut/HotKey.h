#pragma once

#include "shortcut/Shortcut.h"

#include <QList>

#include <cstdint>
#include <functional>
#include <memory>

struct xcb_connection_t;

// One grab of a shortcut's key on the X display's root window. The key is
// grabbed once for every combination of the lock modifiers, so Num Lock or
// Caps Lock being on does not turn the shortcut off. Destroying the hot key
// releases its grabs.
class HotKey
{
public:
    enum class Refusal {
        None,
        NoKey,         // the shortcut has no key, or the keyboard has no such key
        HeldElsewhere, // another program grabbed it first (BadAccess)
        Failed,        // any other error from the display
    };

    // A grabbed hot key, or none with the reason in `refusal`.
    static std::unique_ptr<HotKey> registeredHotKeyWithShortcut(xcb_connection_t* connection, const Shortcut& shortcut,
                                                                Refusal* refusal = nullptr);
    ~HotKey();
    HotKey(const HotKey&) = delete;
    HotKey& operator=(const HotKey&) = delete;

    // A key press from the display (its key code and modifier state) is this
    // hot key's, whatever the lock modifiers.
    bool matches(std::uint8_t keyCode, std::uint16_t state) const;

    const Shortcut shortcut;
    const quint32 carbonID;
    std::function<void()> action;

private:
    HotKey(xcb_connection_t* connection, const Shortcut& shortcut, std::uint16_t modifiers);

    xcb_connection_t* connection;
    std::uint16_t modifiers;
    QList<std::uint8_t> keyCodes;
    QList<std::uint16_t> lockCombinations;
};
