#pragma once

#include "colour/Color.h"
#include "history/HistoryEntry.h"

#include <QDate>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class EntryMenu;
class CurrentColors;
class HistoryStore;
class QAction;
class QMenu;
class UserDefaults;

// The History menu, in the tray menu and behind the main window's History
// button: the log of the history store by day, rebuilt each time it opens.
// Today's newest twenty entries stand in the menu itself, the rest of today
// under "Earlier Today"; each earlier day has a submenu, latest day first;
// "Clear History..." ends the menu. Each entry shows a colour chip and
// "name・CODE", previews its swatch column in a submenu, and, chosen,
// restores its colour and its swatches.
//
// It stays quick with years of history: opening reads the day strings and
// today's first entries only; a day's entries are read when its submenu
// opens, an entry's preview is built when it opens.
class HistoryMenu : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        // Today; empty means the current date.
        std::function<QDate()> today;
    };

    static constexpr int shownToday = 20;

    HistoryMenu(HistoryStore& store, CurrentColors& colors, UserDefaults& defaults, Options options,
                QObject* parent = nullptr);
    ~HistoryMenu() override;

    // The menu, titled "History".
    QMenu* menu() const;

    // Rebuilds `menu` from the store; runs as it is about to open.
    void menuNeedsUpdate(QMenu* menu);
    QAction* createMenuItemForObject(const HistoryEntry& entry, QMenu* parent);
    QMenu* createMenuForObject(const HistoryEntry& entry, QMenu* parent);
    // "name・CODE", the code as the hex field shows it.
    QString titleForMenuItem(const HistoryEntry& entry) const;
    // The 16 px colour chip, sharp at every screen scale the program uses.
    QIcon imageForMenuItem(const HistoryEntry& entry) const;
    // A 16 px chip of `color` for a screen of `ratio` device pixels per pixel.
    static QImage chipImage(const QColor& color, qreal ratio);
    // `image` clipped to a 16 px square with corners of radius 4, edges
    // smoothed.
    static QImage roundCorners(const QImage& image);

    // Makes the entry's colour and swatches current (the hand-over).
    void historyItemClicked(const HistoryEntry& entry);
    // Deletes the whole history once the user confirms.
    void clearHistory();

private:
    // A day's submenu; for "Earlier Today" the entries after `lastShown`,
    // the last of today's entries in the menu itself.
    QMenu* addDaySubmenu(QMenu* parent, const QString& title, const QString& day,
                         const std::optional<HistoryEntry>& lastShown = std::nullopt);
    ColorSpacePtr wellSpace() const;
    bool confirmClearHistory() const;

    HistoryStore& store;
    CurrentColors& colors;
    UserDefaults& defaults;
    Options options;
    std::unique_ptr<EntryMenu> historyMenu;
};
