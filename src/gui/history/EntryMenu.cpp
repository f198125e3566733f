#include "EntryMenu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

const char* const entryProperty = "historyEntry";

} // namespace

void EntryMenu::markEntry(QAction* action)
{
    action->setProperty(entryProperty, true);
}

bool EntryMenu::isEntry(const QAction* action)
{
    return action && action->property(entryProperty).toBool();
}

void EntryMenu::closeAllMenus()
{
    // Bounded: a popup that refuses to close must not hang the program.
    for (int i = 0; i < 32; ++i) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup)
            break;
        popup->close();
    }
}

bool EntryMenu::triggerEntry(QAction* action)
{
    if (!isEntry(action) || !action->isEnabled())
        return false;
    closeAllMenus();
    action->trigger();
    return true;
}

void EntryMenu::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && triggerEntry(actionAt(event->position().toPoint())))
        return;
    QMenu::mouseReleaseEvent(event);
}

void EntryMenu::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && triggerEntry(activeAction()))
        return;
    QMenu::keyPressEvent(event);
}

void EntryPreviewMenu::mouseReleaseEvent(QMouseEvent* event)
{
    auto* owner = qobject_cast<QMenu*>(parentWidget());
    if (event->button() == Qt::LeftButton && owner && !rect().contains(event->position().toPoint())) {
        QAction* action = owner->actionAt(owner->mapFromGlobal(event->globalPosition().toPoint()));
        if (action && action->menu() == this && EntryMenu::isEntry(action) && action->isEnabled()) {
            EntryMenu::closeAllMenus();
            action->trigger();
            return;
        }
    }
    QMenu::mouseReleaseEvent(event);
}
