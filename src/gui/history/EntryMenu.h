#pragma once

#include <QMenu>

// A menu of history entries. An entry's item opens the preview of its
// swatches as a submenu on hover (or Right), and restores the entry when it
// is clicked (or Return is pressed on it); a plain Qt menu would only open
// the submenu.
class EntryMenu : public QMenu
{
    Q_OBJECT

public:
    using QMenu::QMenu;

    // Makes `action`, which has a submenu, trigger on a click or Return.
    static void markEntry(QAction* action);
    static bool isEntry(const QAction* action);
    // Closes every open menu, as choosing an item does.
    static void closeAllMenus();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool triggerEntry(QAction* action);
};

// The swatch preview of one entry, the submenu of the entry's item. Qt
// sends the release of a click on the entry's item to this menu once it is
// open; it hands that click back to the entry.
class EntryPreviewMenu : public QMenu
{
    Q_OBJECT

public:
    using QMenu::QMenu;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
