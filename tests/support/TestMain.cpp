#include "TempHome.h"

#ifdef HUELARK_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <gtest/gtest.h>

// Every test program runs with a Qt application and, as a safety net, a
// throw-away home: nothing a test does can reach the real user's settings
// even when a test forgets its own TempHome. Core and command-line tests get a
// QCoreApplication, which proves the core works without a display; widget
// tests get a QApplication on the offscreen platform.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
#ifdef HUELARK_TEST_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    const TempHome home;
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
