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
    // without taking the focus from the field being typed in.
    void activate(SwatchWell* well, bool show = true);
    SwatchWell* activeWell() const { return well; }

    // Shows the panel beside `anchor` the first time, and raises it.
    void orderFront(const QWidget* anchor);
    void close();
    bool isVisible() const;
    QColorDialog* dialog();

private:
    void followWell();
    void ensureDialog();

    QColorDialog* panel = nullptr;
    QPointer<SwatchWell> well;
    bool placed = false;
};
