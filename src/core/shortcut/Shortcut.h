#pragma once

#include <QHashFunctions>

#include <QKeyCombination>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <limits>
#include <optional>

// A global shortcut: a key (a `Qt::Key`) and the modifiers held with it.
//
// The modifiers keep the bits of the stored form other versions write:
// shift 0x20000, control 0x40000, option 0x80000, command 0x100000. On this
// desktop command is Ctrl, control is Super, option is Alt. Every other bit
// (Caps Lock, the keypad flag) is dropped on creation, so a shortcut typed
// with Caps Lock on equals the one without.
class Shortcut
{
public:
    static constexpr qint64 noKey = std::numeric_limits<qint64>::max();
    static constexpr quint64 shift = 0x20000;
    static constexpr quint64 control = 0x40000;
    static constexpr quint64 option = 0x80000;
    static constexpr quint64 command = 0x100000;
    static constexpr quint64 modifierMask = 0x1E0000;

    Shortcut(qint64 keyCode, quint64 modifierFlags);
    static Shortcut shortcutWithKeyCode(qint64 keyCode, quint64 modifierFlags) { return { keyCode, modifierFlags }; }
    // From a key event's key and modifiers (a modifier key alone gives a
    // shortcut whose key has no name).
    static Shortcut shortcutWithKey(int key, Qt::KeyboardModifiers modifiers);

    qint64 keyCode() const { return code; }
    quint64 modifierFlags() const { return flags; }
    bool hasKey() const { return code != noKey; }
    Qt::KeyboardModifiers keyboardModifiers() const;
    QKeyCombination keyCombination() const;

    // "Ctrl+Alt+" for the held modifiers, in the desktop's order; empty for none.
    QString modifierFlagsString() const;
    // The key's name as the desktop writes it ("K", "F5", "Space"); empty
    // for no key, a modifier key or a key without a printable name.
    QString keyCodeString() const;
    // "Ctrl+Alt+K".
    QString description() const;

    // The stored form: {"KeyCode": integer, "ModifierFlags": integer}, no
    // key written as -1.
    QVariantMap archive() const;
    // Nothing unless both fields are numbers. "KeyCode" is read as unsigned
    // and limited to the largest signed integer, so -1 comes back as no key;
    // the flags are kept as stored.
    static std::optional<Shortcut> unarchive(const QVariant& stored);

    friend bool operator==(const Shortcut&, const Shortcut&) = default;

private:
    struct Raw {};
    Shortcut(Raw, qint64 keyCode, quint64 modifierFlags) : code(keyCode), flags(modifierFlags) {}

    qint64 code;
    quint64 flags;
};

inline size_t qHash(const Shortcut& shortcut, size_t hashSeed = 0)
{
    return qHashMulti(hashSeed, shortcut.keyCode(), shortcut.modifierFlags());
}
