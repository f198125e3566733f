#include "HelperAppDelegate.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("huelark-login-helper"));
    HelperAppDelegate delegate;
    delegate.applicationWillFinishLaunching();
    return app.exec();
}
