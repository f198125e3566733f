#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test program runs with a Qt application on the offscreen platform and,
// as a safety net, a throw-away home: nothing a test does can reach the real
// user's settings even when a test forgets its own TempHome.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/.cache").toUtf8());
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
