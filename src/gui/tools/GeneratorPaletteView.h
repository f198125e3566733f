#pragma once

#include <QWidget>

class NotificationCenter;
class QMenu;

// One row of the tool window: the base colour, a harmony, the lightness
// ramp or the preview of an image's colours. It knows nothing of colours:
// it draws a translucent background that strengthens under the pointer,
// and posts what the user does with it under its identifier (the object
// name) for the tool window to act on:
//   "enterHoverToolSwatch" {"identifier"}  pointer in (not "Drop Preview")
//   "exitHoverToolSwatch"                   pointer out
//   "clickedHoverToolSwatch" {"identifier"} a click (not "Base Color")
//   "clickedGeneratorMenu" {"identifier", "action": "add" or "replace"}
// The row takes the keyboard focus too: Return or Space is a click, the
// menu key opens its menu.
class GeneratorPaletteView : public QWidget
{
    Q_OBJECT

public:
    static const QString baseColor;   // "Base Color"
    static const QString dropPreview; // "Drop Preview"

    GeneratorPaletteView(const QString& identifier, NotificationCenter& center, QWidget* parent = nullptr);

    bool isHover() const { return hover; }
    QMenu* contextMenu() const { return menu; }
    int angle = 0; // of the background gradient, in degrees

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setHover(bool on);
    void clicked();
    void menuChosen(const QString& action);

    NotificationCenter& center;
    QMenu* menu = nullptr;
    bool hover = false;
    bool pressed = false;
};
