#include "shortcut/Shortcut.h"
#include "shortcut/ShortcutValidator.h"

#include <gtest/gtest.h>

namespace {

constexpr quint64 shift = Shortcut::shift, control = Shortcut::control, option = Shortcut::option,
                  command = Shortcut::command;

TEST(ShortcutValidator, DecidesInOrderFunctionKeysCtrlOrSuperThenAltWithSpaceOrEscape)
{
    const struct { const char* name; int key; quint64 flags; bool valid, validWithAnyAlt; } rows[] = {
        { "F5 alone", Qt::Key_F5, 0, true, true },
        { "A alone", Qt::Key_A, 0, false, false },
        { "Shift+A", Qt::Key_A, shift, false, false },
        { "Ctrl+A", Qt::Key_A, command, true, true },
        { "Super+A", Qt::Key_A, control, true, true },
        { "Alt+A", Qt::Key_A, option, false, true },
        { "Alt+Space", Qt::Key_Space, option, true, true },
        { "Shift+Alt+Escape", Qt::Key_Escape, option | shift, true, true },
        { "Ctrl+Alt+K", Qt::Key_K, command | option, true, true },
    };
    ShortcutValidator validator;
    for (const auto& row : rows) {
        const Shortcut shortcut(row.key, row.flags);
        validator.allowAnyShortcutWithOptionModifier = false;
        EXPECT_EQ(validator.isShortcutValid(shortcut), row.valid) << row.name;
        validator.allowAnyShortcutWithOptionModifier = true;
        EXPECT_EQ(validator.isShortcutValid(shortcut), row.validWithAnyAlt) << row.name << ", any Alt allowed";
    }
}

TEST(Shortcut, ShowsAsTheDesktopWritesItAndKeepsItsStoredShape)
{
    // Caps Lock (0x10000) and the numeric-pad bit are not part of a shortcut.
    const Shortcut shortcut(Qt::Key_K, command | option | 0x10000 | 0x200000);
    EXPECT_EQ(shortcut, Shortcut(Qt::Key_K, command | option));
    EXPECT_EQ(shortcut.description(), "Ctrl+Alt+K");
    EXPECT_EQ(Shortcut::shortcutWithKey(Qt::Key_Control, Qt::ControlModifier | Qt::MetaModifier).keyCodeString(), "");

    const QVariantMap stored = shortcut.archive();
    EXPECT_EQ(stored, (QVariantMap { { "KeyCode", qint64(Qt::Key_K) }, { "ModifierFlags", qint64(command | option) } }));
    EXPECT_EQ(Shortcut::unarchive(stored), shortcut);

    // -1 is no key: it shows its modifiers alone.
    const auto keyless = Shortcut::unarchive(QVariantMap { { "KeyCode", -1 }, { "ModifierFlags", int(command | option) } });
    ASSERT_TRUE(keyless);
    EXPECT_FALSE(keyless->hasKey());
    EXPECT_EQ(keyless->description(), "Ctrl+Alt+");
    EXPECT_EQ(keyless->archive().value("KeyCode"), -1);
    EXPECT_FALSE(Shortcut::unarchive(QVariantMap { { "KeyCode", "K" }, { "ModifierFlags", 0 } }));
    EXPECT_FALSE(Shortcut::unarchive(QVariant()));
}

TEST(ShortcutValidator, NamesTheCommandThatHasTheShortcut)
{
    const QList<ShortcutValidator::Command> commands { { "New Palette", Shortcut(Qt::Key_N, command | shift) } };
    QString explanation;
    EXPECT_FALSE(ShortcutValidator().isShortcutAlreadyTaken(Shortcut(Qt::Key_N, command), commands, &explanation));
    EXPECT_TRUE(ShortcutValidator().isShortcutAlreadyTaken(Shortcut(Qt::Key_N, command | shift), commands, &explanation));
    EXPECT_EQ(explanation, "This shortcut cannot be used because it is already used by the menu item ‘New Palette’.");
}

} // namespace
