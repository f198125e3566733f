#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

class NotificationCenter;
class PreferencesPane;
class QAction;
class QActionGroup;
class QTimer;
class QToolBar;
class QVBoxLayout;
class UserDefaults;
struct Notification;

// A preferences window with a toolbar of panes; it knows nothing about
// colours.
//
// A null entry in the pane list is a stretch in the toolbar, skipped by
// every look-up and by next/previous pane. Every pane is as wide as the
// window: 470 pixels plus the translated "PrefWindowPaddingSize", or more
// where a pane's font needs it. A pane whose height does not grow always
// has its natural height; one that grows keeps the height it was last given.
// Switching panes keeps the window's top edge where it is.
//
// The selected pane, the window's top-left point and each pane's size are
// stored under "AmbrelPreferences …" settings and come back at the next
// start. Wayland lets no program place its windows, so there the point is
// neither stored nor restored.
class PreferencesWindowController : public QWidget
{
    Q_OBJECT

public:
    static constexpr int baseWidth = 470;

    // Takes the panes (null for a stretch); an empty `title` makes the
    // window take the selected pane's label as its title.
    PreferencesWindowController(UserDefaults& defaults, NotificationCenter& center, QList<PreferencesPane*> panes,
                                const QString& title = {}, QWidget* parent = nullptr);
    ~PreferencesWindowController() override;

    void addViewController(PreferencesPane* pane);
    const QList<PreferencesPane*>& viewControllers() const { return panes; }

    // Indexes past the end, and null entries, are ignored.
    void selectControllerAtIndex(int index);
    void selectControllerWithIdentifier(const QString& identifier);
    PreferencesPane* viewControllerForIdentifier(const QString& identifier) const;
    PreferencesPane* firstViewController() const;
    int indexOfSelectedController() const;
    PreferencesPane* selectedViewController() const { return selected; }
    // Selects `pane` unless the pane on show refuses to let go (commitEditing).
    void setSelectedViewController(PreferencesPane* pane);

    // The next / previous pane, from the last to the first and back.
    void goNextTab();
    void goPreviousTab();

    QToolBar* toolbar() const { return toolBar; }
    // The fixed width of every pane.
    static int fixedContentWidth();

    // The point where a window of `size` placed at `topLeft` shows enough
    // of itself to be moved, on one of `screens` (available areas).
    static QPoint clampedTopLeft(QPoint topLeft, QSize size, const QList<QRect>& screens);

    void showAndRaise();

Q_SIGNALS:
    // The pane on show changed ("AmbrelPreferencesWindowControllerDidChangeViewNotification").
    void didChangeView();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void windowDidLoad();
    void rebuildToolbar();
    void changeTabs(const Notification& notification);
    void toolbarItemDidClick(const QString& identifier);
    void checkToolbarItem(const QString& identifier);
    void step(int direction);
    void focusFirstControl(PreferencesPane* pane);
    // Gives the window the pane's width and `height`, within the pane's
    // limits.
    void fit(PreferencesPane* pane, int height);
    int contentWidthFor(PreferencesPane* pane) const;
    QString frameKey(const QString& identifier) const;
    bool placesItsWindows() const;
    void storeSoon();

    UserDefaults& defaults;
    NotificationCenter& center;
    QList<PreferencesPane*> panes;
    QHash<QString, QRect> minimumViewRects;
    QString title;
    PreferencesPane* selected = nullptr;
    QToolBar* toolBar = nullptr;
    QActionGroup* toolbarItems = nullptr;
    QVBoxLayout* content = nullptr;
    QTimer* flush = nullptr;
};
