#include "controls/AppearanceColors.h"

#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(AppearanceColors, DarkMeansABackgroundDarkerThanItsText)
{
    const struct { QColor window; QColor text; bool dark; } rows[] = {
        { QColor(0xef, 0xef, 0xef), QColor(0x20, 0x20, 0x20), false },
        { QColor(0x2a, 0x2b, 0x30), QColor(0xe6, 0xe6, 0xea), true },
        // A mid-grey theme is told apart by its text, not by a fixed cut.
        { QColor(0x80, 0x80, 0x80), QColor(0xff, 0xff, 0xff), true },
        { QColor(0x80, 0x80, 0x80), QColor(0x00, 0x00, 0x00), false },
    };
    for (const auto& row : rows) {
        QWidget view;
        QPalette palette = view.palette();
        palette.setColor(QPalette::Window, row.window);
        palette.setColor(QPalette::WindowText, row.text);
        view.setPalette(palette);
        EXPECT_EQ(AppearanceColors::appearanceIsDark(&view), row.dark) << row.window.name().toStdString();
    }
}

} // namespace
