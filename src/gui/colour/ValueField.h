#pragma once

#include <QLineEdit>

class NotificationCenter;

// A text field of the main window. Taking the keyboard focus from another
// control, or a click, posts "showColorPicker", so the colour panel edits
// the current colour while the user works in the window; moving the focus to another part of
// the window, pressing Return or closing the window ends the edit
// (`editingEnded`), when the field is tidied.
class ValueField : public QLineEdit
{
    Q_OBJECT

public:
    ValueField(NotificationCenter& center, QWidget* parent = nullptr);

    // Writes `text` unless the field already shows it, so that a field being
    // typed in keeps its cursor and refreshes stay cheap.
    void setTextIfChanged(const QString& text);
    // Ends the edit as leaving the field would.
    void endEditing();

Q_SIGNALS:
    void editingEnded();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    NotificationCenter& center;
};
