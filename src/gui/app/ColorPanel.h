#pragma once

#include <QObject>
#include <QPointer>

class QColorDialog;
class QWidget;
class SwatchWell;

// The one colour panel of the program: a non-modal colour dialog with its
// screen picker. While a well is its active well, the panel edits that
// well's colour and follows every other change of it.
class ColorPanel : public QObject
{
    Q_OBJECT

public:
    explicit ColorPanel(QObject* parent = nullptr);
    ~ColorPanel() override;

    // Binds the panel to `well` (and only to it); with `show`, also shows it
    // without taking the focus from the field being typed in. The panel is
    // built when it is first shown.
    void activate(SwatchWell* well, bool show = true);
    SwatchWell* activeWell() const { return well; }

    // Shows the panel beside `anchor` the first time, and raises it. An
    // anchor the window manager has not placed yet (not yet on the screen)
    // is waited for: the panel would otherwise land where the window then
    // goes. The anchor stays in front and keeps the keyboard.
    void orderFront(QWidget* anchor);
    // At a first start, with no frame of the window's own yet: moves the
    // window so that it and the panel beside it sit in the middle of the
    // screen, where they fit.
    void makeRoomBeside(QWidget& window);
    void close();
    bool isVisible() const;
    QColorDialog* dialog();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followWell();
    void ensureDialog();
    void showBeside(QWidget* anchor);

    QColorDialog* panel = nullptr;
    QPointer<SwatchWell> well;
    QPointer<QWidget> waitingFor; // an anchor not yet on the screen
    bool placed = false;
};
