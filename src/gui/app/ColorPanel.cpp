#include "ColorPanel.h"

#include "app/SwatchWell.h"
#include "colour/ColorSpace.h"

#include <QColorDialog>
#include <QScreen>
#include <QWindow>

namespace {
constexpr int gap = 12; // between the window and the panel beside it
}

ColorPanel::ColorPanel(QObject* parent)
    : QObject(parent)
{
}

ColorPanel::~ColorPanel() { delete panel; }

void ColorPanel::ensureDialog()
{
    if (panel)
        return;
    // Qt's own dialog: the desktop's native one would be modal and has no
    // screen picker on every desktop.
    panel = new QColorDialog;
    panel->setWindowTitle(tr("Colours"));
    panel->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    panel->setAttribute(Qt::WA_ShowWithoutActivating);
    connect(panel, &QColorDialog::currentColorChanged, this, [this](const QColor& chosen) {
        if (!well)
            return;
        const Color picked = Color::fromIntegers(chosen.red(), chosen.green(), chosen.blue());
        const ColorSpacePtr& space = well->color()->space();
        well->setColor(ColorSpace::convert(picked, space).value_or(picked));
    });
    followWell();
}

QColorDialog* ColorPanel::dialog()
{
    ensureDialog();
    return panel;
}

void ColorPanel::activate(SwatchWell* target, bool show)
{
    if (show)
        ensureDialog();
    if (well != target) {
        if (well)
            disconnect(well, nullptr, this, nullptr);
        well = target;
        if (well)
            connect(well, &SwatchWell::colorChanged, this, &ColorPanel::followWell);
    }
    followWell();
    if (show && !panel->isVisible())
        panel->show();
}

void ColorPanel::followWell()
{
    if (!well || !panel)
        return;
    const Color screen = ColorSpace::convert(*well->color(), ColorSpace::sRGB()).value_or(*well->color());
    const auto [r, g, b] = screen.integerComponents();
    const QColor shown(r, g, b);
    if (panel->currentColor() == shown)
        return;
    // The panel's own change signal would write the rounded colour back.
    const bool blocked = panel->blockSignals(true);
    panel->setCurrentColor(shown);
    panel->blockSignals(blocked);
}

void ColorPanel::orderFront(QWidget* anchor)
{
    QWindow* handle = anchor ? anchor->windowHandle() : nullptr;
    if (!handle || !handle->isExposed()) {
        if (waitingFor)
            waitingFor->windowHandle()->removeEventFilter(this);
        waitingFor = anchor;
        if (anchor && anchor->isVisible() && handle)
            handle->installEventFilter(this);
        else
            waitingFor = nullptr;
        return;
    }
    showBeside(anchor);
}

bool ColorPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && waitingFor && watched == waitingFor->windowHandle()
        && waitingFor->windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        QWidget* anchor = waitingFor;
        waitingFor = nullptr;
        // After the expose itself, which places the window's frame.
        QMetaObject::invokeMethod(this, [this, anchor = QPointer<QWidget>(anchor)] {
            if (anchor && anchor->isVisible())
                showBeside(anchor);
        }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void ColorPanel::showBeside(QWidget* anchor)
{
    ensureDialog();
    if (!placed) {
        placed = true;
        // The window's frame as the window manager has it, and its
        // decoration, which the panel will get too: a window never shown
        // is placed by its inside, not by its frame.
        const QRect frame = anchor->windowHandle()->frameGeometry();
        const QMargins decoration = anchor->windowHandle()->frameMargins();
        const QSize size = panel->sizeHint().grownBy(decoration);
        QPoint at(frame.right() + 1 + gap, frame.top());
        if (const QScreen* screen = anchor->screen()) {
            const QRect room = screen->availableGeometry();
            if (at.x() + size.width() > room.right() + 1)
                at.setX(std::max(room.left(), frame.left() - gap - size.width()));
            at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
        }
        panel->setGeometry(QRect(at + QPoint(decoration.left(), decoration.top()), panel->sizeHint()));
    }
    panel->show();
    panel->raise();
    anchor->raise();
    anchor->activateWindow();
}

void ColorPanel::makeRoomBeside(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    ensureDialog();
    const QRect room = screen->availableGeometry();
    const int width = window.width() + gap + panel->sizeHint().width();
    if (width > room.width())
        return;
    window.move(room.left() + (room.width() - width) / 2, room.top() + (room.height() - window.height()) / 3);
}

void ColorPanel::close()
{
    if (waitingFor)
        waitingFor->windowHandle()->removeEventFilter(this);
    waitingFor = nullptr;
    if (panel)
        panel->close();
}

bool ColorPanel::isVisible() const { return panel && panel->isVisible(); }
