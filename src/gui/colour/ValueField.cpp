#include "ValueField.h"

#include "settings/NotificationCenter.h"

#include <QFocusEvent>

ValueField::ValueField(NotificationCenter& center, QWidget* parent)
    : QLineEdit(parent)
    , center(center)
{
    connect(this, &QLineEdit::returnPressed, this, &ValueField::editingEnded);
}

void ValueField::setTextIfChanged(const QString& text)
{
    if (this->text() == text)
        return;
    setText(text);
    if (isReadOnly())
        home(false); // long read-only lines read from their start

}

void ValueField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Only a field the user moves to asks for the panel: the focus coming
    // back with the window (or from a menu) would reopen a panel the user
    // has just closed. A click asks in mousePressEvent, also when the click
    // lands in the field that already has the focus.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MouseFocusReason)
        center.postNotification(QStringLiteral("showColorPicker"));
}

void ValueField::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    center.postNotification(QStringLiteral("showColorPicker"));
}

void ValueField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu or completion popup takes the focus only for a moment,
    // and a visit to another window (the colour panel, another program)
    // leaves the field ready to go on typing: the edit goes on.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        endEditing();
}

void ValueField::endEditing() { Q_EMIT editingEnded(); }
