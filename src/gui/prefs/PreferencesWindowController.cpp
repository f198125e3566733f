#include "PreferencesWindowController.h"

#include "prefs/PreferencesPane.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString selectedKey = QStringLiteral("AmbrelPreferences Selected Identifier View");
const QString topLeftKey = QStringLiteral("AmbrelPreferences Frame Top Left");

// Points and rectangles are stored as text: "{x, y}" and "{{x, y}, {w, h}}".
QList<double> numbersIn(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("-?\\d+(?:\\.\\d+)?"));
    QList<double> numbers;
    for (auto it = number.globalMatch(text); it.hasNext();)
        numbers << it.next().captured().toDouble();
    return numbers;
}

std::optional<QPoint> pointFromString(const QString& text)
{
    const QList<double> n = numbersIn(text);
    if (n.size() != 2)
        return std::nullopt;
    return QPoint(qRound(n[0]), qRound(n[1]));
}

std::optional<QRect> rectFromString(const QString& text)
{
    const QList<double> n = numbersIn(text);
    if (n.size() != 4 || n[2] < 0 || n[3] < 0)
        return std::nullopt;
    return QRect(qRound(n[0]), qRound(n[1]), qRound(n[2]), qRound(n[3]));
}

QString stringFromRect(const QRect& r)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

} // namespace

PreferencesWindowController::PreferencesWindowController(UserDefaults& defaults, NotificationCenter& center,
                                                         QList<PreferencesPane*> viewControllers,
                                                         const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , defaults(defaults)
    , center(center)
    , panes(std::move(viewControllers))
    , title(title)
{
    setObjectName(QStringLiteral("AmbrelPreferencesWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/menu")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(24, 24));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    toolBar->setAccessibleName(tr("Panes"));
    layout->addWidget(toolBar);
    content = new QVBoxLayout;
    content->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(content, 1);
    toolbarItems = new QActionGroup(this);
    toolbarItems->setExclusive(true);

    flush = new QTimer(this);
    flush->setSingleShot(true);
    flush->setInterval(500);
    connect(flush, &QTimer::timeout, this, [this] { this->defaults.synchronize(); });

    const auto keys = [this](std::initializer_list<QKeySequence> sequences, void (PreferencesWindowController::*slot)()) {
        for (const QKeySequence& sequence : sequences)
            connect(new QShortcut(sequence, this), &QShortcut::activated, this, slot);
    };
    keys({ QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown) },
         &PreferencesWindowController::goNextTab);
    keys({ QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
           QKeySequence(Qt::CTRL | Qt::Key_PageUp) },
         &PreferencesWindowController::goPreviousTab);
    const auto close = [this] { this->close(); };
    connect(new QShortcut(QKeySequence::Close, this), &QShortcut::activated, this, close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, close);

    for (PreferencesPane* pane : std::as_const(panes)) {
        if (pane) {
            pane->setParent(this);
            pane->hide();
        }
    }
    windowDidLoad();
}

PreferencesWindowController::~PreferencesWindowController()
{
    defaults.synchronize();
}

void PreferencesWindowController::windowDidLoad()
{
    rebuildToolbar();
    if (!title.isEmpty())
        setWindowTitle(title);
    if (!panes.isEmpty()) {
        PreferencesPane* pane = viewControllerForIdentifier(defaults.stringForKey(selectedKey));
        setSelectedViewController(pane ? pane : firstViewController());
    }
    if (placesItsWindows()) {
        if (const std::optional<QPoint> topLeft = pointFromString(defaults.stringForKey(topLeftKey)))
            move(clampedTopLeft(*topLeft, size(), availableScreenAreas()));
    }
    center.addObserver(QStringLiteral("changePrefsTab"), this,
                       [this](const Notification& notification) { changeTabs(notification); });
}

void PreferencesWindowController::rebuildToolbar()
{
    toolBar->clear();
    for (QAction* item : toolbarItems->actions())
        delete item;
    for (PreferencesPane* pane : std::as_const(panes)) {
        if (!pane) {
            auto* space = new QWidget(toolBar);
            space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            toolBar->addWidget(space);
            continue;
        }
        auto* item = new QAction(pane->toolbarItemImage(), pane->toolbarItemLabel(), toolbarItems);
        item->setObjectName(pane->identifier());
        item->setCheckable(true);
        item->setChecked(pane == selected);
        const QString identifier = pane->identifier();
        connect(item, &QAction::triggered, this, [this, identifier] { toolbarItemDidClick(identifier); });
        toolBar->addAction(item);
        // Panes change with Ctrl+Tab and Ctrl+PgDown; Tab goes through the
        // pane's own controls.
        if (QWidget* button = toolBar->widgetForAction(item))
            button->setFocusPolicy(Qt::NoFocus);
    }
}

void PreferencesWindowController::addViewController(PreferencesPane* pane)
{
    if (pane) {
        pane->setParent(this);
        pane->hide();
    }
    panes << pane;
    rebuildToolbar();
}

void PreferencesWindowController::selectControllerAtIndex(int index)
{
    if (index < 0 || index >= panes.size() || !panes[index])
        return;
    setSelectedViewController(panes[index]);
}

void PreferencesWindowController::selectControllerWithIdentifier(const QString& identifier)
{
    if (PreferencesPane* pane = viewControllerForIdentifier(identifier))
        setSelectedViewController(pane);
}

PreferencesPane* PreferencesWindowController::viewControllerForIdentifier(const QString& identifier) const
{
    for (PreferencesPane* pane : panes) {
        if (pane && pane->identifier() == identifier)
            return pane;
    }
    return nullptr;
}

PreferencesPane* PreferencesWindowController::firstViewController() const
{
    for (PreferencesPane* pane : panes) {
        if (pane)
            return pane;
    }
    return nullptr;
}

int PreferencesWindowController::indexOfSelectedController() const
{
    return selected ? static_cast<int>(panes.indexOf(selected)) : -1;
}

void PreferencesWindowController::goNextTab() { step(1); }
void PreferencesWindowController::goPreviousTab() { step(-1); }

void PreferencesWindowController::step(int direction)
{
    const int count = static_cast<int>(panes.size());
    int index = indexOfSelectedController();
    if (index < 0)
        index = direction > 0 ? -1 : 0;
    // At most one round: a list of stretches alone has no pane to reach.
    for (int tries = 0; tries < count; ++tries) {
        index = ((index + direction) % count + count) % count;
        if (panes[index]) {
            setSelectedViewController(panes[index]);
            return;
        }
    }
}

void PreferencesWindowController::changeTabs(const Notification& notification)
{
    const auto tab = notification.userInfo.constFind(QStringLiteral("tab"));
    if (tab != notification.userInfo.constEnd())
        selectControllerWithIdentifier(tab->toString());
}

void PreferencesWindowController::toolbarItemDidClick(const QString& identifier)
{
    selectControllerWithIdentifier(identifier);
    // A pane that refused to go leaves its own item checked.
    if (selected)
        checkToolbarItem(selected->identifier());
}

void PreferencesWindowController::checkToolbarItem(const QString& identifier)
{
    for (QAction* item : toolbarItems->actions()) {
        if (item->objectName() == identifier)
            item->setChecked(true);
    }
}

int PreferencesWindowController::fixedContentWidth()
{
    // Translations with longer words widen every pane alike. The source
    // text is no number, so an untranslated program adds nothing.
    bool ok = false;
    const double padding =
        QCoreApplication::translate("PreferencesWindowController", "PrefWindowPaddingSize").toDouble(&ok);
    return baseWidth + (ok ? qBound(0, qRound(padding), 1000) : 0);
}

int PreferencesWindowController::contentWidthFor(PreferencesPane* pane) const
{
    return std::max(fixedContentWidth(), pane->sizeHint().width());
}

QString PreferencesWindowController::frameKey(const QString& identifier) const
{
    return QStringLiteral("AmbrelPreferences %1 Frame").arg(identifier);
}

bool PreferencesWindowController::placesItsWindows() const
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void PreferencesWindowController::setSelectedViewController(PreferencesPane* pane)
{
    if (pane == selected)
        return;
    if (selected) {
        if (!selected->commitEditing()) {
            checkToolbarItem(selected->identifier());
            return;
        }
        PreferencesPane* old = selected;
        selected = nullptr;
        content->removeWidget(old);
        old->hide();
        if (isVisible())
            old->viewDidDisappear();
    }
    if (!pane)
        return;

    const QString identifier = pane->identifier();
    if (title.isEmpty())
        setWindowTitle(pane->toolbarItemLabel());
    checkToolbarItem(identifier);
    defaults.setString(identifier, selectedKey);
    storeSoon();

    const QSize natural = pane->sizeHint().expandedTo(pane->minimumSizeHint());
    if (!minimumViewRects.contains(identifier))
        minimumViewRects.insert(identifier, QRect(QPoint(), natural));
    const std::optional<QRect> stored = rectFromString(defaults.stringForKey(frameKey(identifier)));
    fit(pane, stored ? stored->height() : natural.height());

    selected = pane;
    if (isVisible())
        pane->viewWillAppear();
    content->addWidget(pane);
    pane->show();
    focusFirstControl(pane);
    Q_EMIT didChangeView();
    center.postNotification(QStringLiteral("AmbrelPreferencesWindowControllerDidChangeViewNotification"),
                            QVariant::fromValue<QObject*>(this));
}

void PreferencesWindowController::fit(PreferencesPane* pane, int height)
{
    const int minimumHeight = minimumViewRects.value(pane->identifier()).height();
    const bool resizable = pane->hasResizableHeight();
    if (!resizable || height < minimumHeight)
        height = minimumHeight;
    // A stored height from a larger screen, or a damaged one, would put the
    // bottom of the window out of reach.
    if (const QScreen* on = screen())
        height = std::max(minimumHeight, std::min(height, on->availableGeometry().height() - 120));
    const int width = contentWidthFor(pane);
    const int chrome = toolBar->sizeHint().height();

    // Top-level windows keep their top-left corner when resized, so the top
    // edge stays where it is.
    setMinimumSize(width, chrome + minimumHeight);
    setMaximumSize(width, resizable ? QWIDGETSIZE_MAX : chrome + height);
    pane->resize(width, height);
    resize(width, chrome + height);
}

void PreferencesWindowController::focusFirstControl(PreferencesPane* pane)
{
    // The control that had the focus went with the old pane; the keyboard
    // carries on in the new one.
    if (QWidget* focus = focusWidget(); focus && pane->isAncestorOf(focus))
        return;
    for (QWidget* next = pane->nextInFocusChain(); next && next != pane && pane->isAncestorOf(next);
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(pane)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool PreferencesWindowController::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // The pane's content grew (a longer status, a larger font): the pane
    // grows with it rather than cut it off.
    if (event->type() == QEvent::LayoutRequest && selected) {
        QRect& minimum = minimumViewRects[selected->identifier()];
        const QSize natural = selected->sizeHint().expandedTo(selected->minimumSizeHint());
        if (natural.height() > minimum.height() || contentWidthFor(selected) != width()) {
            minimum.setHeight(std::max(minimum.height(), natural.height()));
            fit(selected, selected->height());
        }
    }
    return handled;
}

QPoint PreferencesWindowController::clampedTopLeft(QPoint topLeft, QSize size, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return topLeft;
    // The screen the point is on, else the one nearest to it.
    QRect area = screens.first();
    qint64 best = -1;
    for (const QRect& screen : screens) {
        const QPoint inside(std::clamp(topLeft.x(), screen.left(), screen.right()),
                            std::clamp(topLeft.y(), screen.top(), screen.bottom()));
        const qint64 dx = inside.x() - topLeft.x(), dy = inside.y() - topLeft.y();
        const qint64 distance = dx * dx + dy * dy;
        if (best < 0 || distance < best) {
            best = distance;
            area = screen;
        }
    }
    const int x = std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width()));
    // The title bar must stay on the screen: the window is moved by it.
    const int y = std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - std::min(size.height(), 80)));
    return QPoint(x, y);
}

void PreferencesWindowController::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void PreferencesWindowController::closeEvent(QCloseEvent* event)
{
    if (selected && !selected->commitEditing()) {
        event->ignore();
        return;
    }
    defaults.synchronize();
    QWidget::closeEvent(event);
}

void PreferencesWindowController::showEvent(QShowEvent* event)
{
    if (selected && !event->spontaneous())
        selected->viewWillAppear();
    QWidget::showEvent(event);
}

void PreferencesWindowController::hideEvent(QHideEvent* event)
{
    if (selected && !event->spontaneous())
        selected->viewDidDisappear();
    QWidget::hideEvent(event);
}

void PreferencesWindowController::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (!isVisible() || !placesItsWindows())
        return;
    defaults.setString(QStringLiteral("{%1, %2}").arg(x()).arg(y()), topLeftKey);
    storeSoon();
}

void PreferencesWindowController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!isVisible() || !selected)
        return;
    defaults.setString(stringFromRect(QRect(QPoint(), selected->size())), frameKey(selected->identifier()));
    storeSoon();
}

void PreferencesWindowController::storeSoon()
{
    // A drag moves the window many times a second: the settings file is
    // written once it rests, and at the latest when the window closes.
    flush->start();
}
