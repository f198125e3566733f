#include "AutoCompletePopover.h"

#include <QApplication>
#include <QListView>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int gap = 6; // between the field and the popover

// The list is drawn light whatever the desktop's theme, like a popover on a
// bright vibrant material, and must not take on the colours the window's
// fields are given.
QPalette popoverPalette()
{
    QPalette p = QApplication::palette();
    const QColor background(0xe9, 0xe9, 0xeb), border(0xb4, 0xb4, 0xb8);
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        p.setColor(group, QPalette::Window, background);
        p.setColor(group, QPalette::Base, background);
        p.setColor(group, QPalette::AlternateBase, background);
        p.setColor(group, QPalette::Button, background);
        p.setColor(group, QPalette::Text, Qt::black);
        p.setColor(group, QPalette::WindowText, border);
        p.setColor(group, QPalette::ButtonText, Qt::black);
        p.setColor(group, QPalette::Highlight, Qt::white);
        p.setColor(group, QPalette::HighlightedText, Qt::black);
        p.setColor(group, QPalette::Light, Qt::white);
        p.setColor(group, QPalette::Midlight, QColor(0xf4, 0xf4, 0xf6));
        p.setColor(group, QPalette::Mid, border);
        p.setColor(group, QPalette::Dark, QColor(0x9a, 0x9a, 0xa0));
        p.setColor(group, QPalette::Shadow, QColor(0x70, 0x70, 0x78));
    }
    return p;
}

bool isWithin(const QObject* object, const QWidget* widget)
{
    for (; object; object = object->parent()) {
        if (object == widget)
            return true;
    }
    return false;
}

} // namespace

AutoCompletePopover::AutoCompletePopover(QWidget* anchor)
    : QFrame(anchor, Qt::ToolTip | Qt::FramelessWindowHint)
    , anchor(anchor)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setPalette(popoverPalette());
    setAutoFillBackground(true);

    list = new QListView(this);
    list->setFocusPolicy(Qt::NoFocus);
    list->setFrameShape(QFrame::NoFrame);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setSpacing(0);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    list->setPalette(popoverPalette());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth());
    layout->addWidget(list);
}

void AutoCompletePopover::showRelativeToAnchor(QSize contentSize)
{
    if (!anchor)
        return;
    list->setFixedSize(contentSize);
    const QSize size = contentSize + QSize(2 * frameWidth(), 2 * frameWidth());
    setFixedSize(size);

    const QPoint topLeft = anchor->mapToGlobal(QPoint(0, 0));
    const int rowHeight = list->model() && list->model()->rowCount() > 0 ? list->sizeHintForRow(0) : 0;
    QPoint at(topLeft.x() + anchor->width() + gap, topLeft.y() + (anchor->height() - rowHeight) / 2 - frameWidth());
    // Beside the field where there is room, else on its other side; always
    // whole on the screen.
    if (const QScreen* screen = anchor->screen()) {
        const QRect room = screen->availableGeometry();
        if (at.x() + size.width() > room.right() + 1)
            at.setX(std::max(room.left(), topLeft.x() - gap - size.width()));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
    }
    move(at);
    if (!isVisible())
        show();
    raise();
}

void AutoCompletePopover::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    qApp->installEventFilter(this);
    if (anchor) {
        watchedWindow = anchor->window();
        watchedWindow->installEventFilter(this);
    }
}

void AutoCompletePopover::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    if (watchedWindow)
        watchedWindow->removeEventFilter(this);
    watchedWindow = nullptr;
    QFrame::hideEvent(event);
}

bool AutoCompletePopover::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Widgets only: the press reaches the window's QWindow first.
        if (watched->isWidgetType() && !isWithin(watched, this) && !isWithin(watched, anchor))
            hide();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
        if (watched == watchedWindow)
            hide();
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}
