#include "Shortcut.h"

#include <QKeySequence>

namespace {

bool isModifierKey(qint64 key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch:
        return true;
    default:
        return false;
    }
}

} // namespace

Shortcut::Shortcut(qint64 keyCode, quint64 modifierFlags)
    : code(keyCode)
    , flags(modifierFlags & modifierMask)
{
}

Shortcut Shortcut::shortcutWithKey(int key, Qt::KeyboardModifiers modifiers)
{
    quint64 flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= shift;
    if (modifiers & Qt::MetaModifier)
        flags |= control;
    if (modifiers & Qt::AltModifier)
        flags |= option;
    if (modifiers & Qt::ControlModifier)
        flags |= command;
    return { key == 0 || key == Qt::Key_unknown ? noKey : qint64(key), flags };
}

Qt::KeyboardModifiers Shortcut::keyboardModifiers() const
{
    Qt::KeyboardModifiers modifiers;
    if (flags & shift)
        modifiers |= Qt::ShiftModifier;
    if (flags & control)
        modifiers |= Qt::MetaModifier;
    if (flags & option)
        modifiers |= Qt::AltModifier;
    if (flags & command)
        modifiers |= Qt::ControlModifier;
    return modifiers;
}

QKeyCombination Shortcut::keyCombination() const
{
    const bool named = hasKey() && code > 0 && code <= std::numeric_limits<int>::max();
    return QKeyCombination(keyboardModifiers(), named ? Qt::Key(code) : Qt::Key(0));
}

QString Shortcut::modifierFlagsString() const
{
    if (!(flags & modifierMask))
        return {};
    // QKeySequence names modifiers only beside a key: name them with one and
    // take the key off again, so the order and words are the desktop's.
    const QString withKey =
        QKeySequence(QKeyCombination(keyboardModifiers(), Qt::Key_A)).toString(QKeySequence::NativeText);
    return withKey.chopped(1);
}

QString Shortcut::keyCodeString() const
{
    if (!hasKey() || code <= 0 || code > std::numeric_limits<int>::max() || code == Qt::Key_unknown
        || isModifierKey(code))
        return {};
    const QString name = QKeySequence(int(code)).toString(QKeySequence::NativeText);
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() || c.isPunct() || c.isSymbol() || c == u' '))
            return {};
    }
    return name;
}

QString Shortcut::description() const { return modifierFlagsString() + keyCodeString(); }

QVariantMap Shortcut::archive() const
{
    return { { QStringLiteral("KeyCode"), hasKey() ? code : qint64(-1) },
             { QStringLiteral("ModifierFlags"), qint64(flags) } };
}

std::optional<Shortcut> Shortcut::unarchive(const QVariant& stored)
{
    const QVariantMap map = stored.toMap();
    const QVariant keyCode = map.value(QStringLiteral("KeyCode"));
    const QVariant modifierFlags = map.value(QStringLiteral("ModifierFlags"));
    const auto isNumber = [](const QVariant& v) {
        return v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::UInt
            || v.typeId() == QMetaType::ULongLong;
    };
    if (!isNumber(keyCode) || !isNumber(modifierFlags))
        return std::nullopt;
    const quint64 unsignedCode = keyCode.toULongLong();
    const qint64 code = unsignedCode > quint64(noKey) ? noKey : qint64(unsignedCode);
    return Shortcut(Raw {}, code, modifierFlags.toULongLong());
}
