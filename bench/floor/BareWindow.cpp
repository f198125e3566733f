// The floor of the start-up benchmark: the least a Qt Widgets program does to
// put a window on the screen (one label, the same toolkit and display as
// Huelark), so Huelark's start can be read against what Qt itself costs.

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Bare Qt window"));
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.resize(540, 350);
    window.show();
    return app.exec();
}
