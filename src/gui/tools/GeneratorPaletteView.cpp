#include "GeneratorPaletteView.h"

#include "tools/ColorHarmonies.h"
#include "tools/LightGradientView.h"

#include "controls/AppearanceColors.h"
#include "settings/NotificationCenter.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

const QString GeneratorPaletteView::baseColor = QStringLiteral("Base Color");
const QString GeneratorPaletteView::dropPreview = QStringLiteral("Drop Preview");

namespace {

const QString identifierKey = QStringLiteral("identifier");

} // namespace

GeneratorPaletteView::GeneratorPaletteView(const QString& identifier, NotificationCenter& notifications,
                                           QWidget* parent)
    : QWidget(parent)
    , center(notifications)
{
    setObjectName(identifier);
    setAttribute(Qt::WA_Hover);
    // Tab reaches every row, the base colour's for its menu too; a click
    // does not take the focus, so a row does not stay lit after the pointer.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(identifier == dropPreview ? tr("Drop Preview") : ColorHarmonies::title(identifier));
    if (identifier != baseColor)
        setToolTip(tr("Click to load Swatches, Right click for options"));
    // Every row has the menu, the base colour's too.
    menu = new QMenu(this);
    menu->addAction(tr("Add to current Swatches"), this, [this] { menuChosen(QStringLiteral("add")); });
    menu->addAction(tr("Replace all current Swatches"), this, [this] { menuChosen(QStringLiteral("replace")); });
}

void GeneratorPaletteView::setHover(bool on)
{
    // The base colour is no choice to make: it never lights up.
    if (objectName() == baseColor || hover == on)
        return;
    hover = on;
    update();
}

void GeneratorPaletteView::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    setHover(true);
    if (objectName() != dropPreview)
        center.postNotification(QStringLiteral("enterHoverToolSwatch"), {}, {{identifierKey, objectName()}});
}

void GeneratorPaletteView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    pressed = false;
    setHover(hasFocus());
    center.postNotification(QStringLiteral("exitHoverToolSwatch"));
}

void GeneratorPaletteView::mousePressEvent(QMouseEvent* event)
{
    pressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void GeneratorPaletteView::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    // The release comes here wherever it happens: a press dragged out of
    // the row and let go elsewhere is the user changing their mind.
    const bool click = pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed = false;
    if (click)
        clicked();
}

void GeneratorPaletteView::clicked()
{
    if (objectName() != baseColor)
        center.postNotification(QStringLiteral("clickedHoverToolSwatch"), {}, {{identifierKey, objectName()}});
}

void GeneratorPaletteView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The keyboard's visit is the pointer's: the row lights up and its name
// shows.
void GeneratorPaletteView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    setHover(true);
    update();
    if (objectName() != dropPreview)
        center.postNotification(QStringLiteral("enterHoverToolSwatch"), {}, {{identifierKey, objectName()}});
}

void GeneratorPaletteView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    setHover(underMouse());
    update();
    center.postNotification(QStringLiteral("exitHoverToolSwatch"));
}

void GeneratorPaletteView::contextMenuEvent(QContextMenuEvent* event)
{
    menu->exec(event->globalPos());
}

void GeneratorPaletteView::menuChosen(const QString& action)
{
    center.postNotification(QStringLiteral("clickedGeneratorMenu"), {},
                            {{identifierKey, objectName()}, {QStringLiteral("action"), action}});
}

void GeneratorPaletteView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool dark = AppearanceColors::appearanceIsDark(this);
    const double alpha = hover ? (dark ? 0.9 : 0.5) : (dark ? 0.6 : 0.3);
    QLinearGradient gradient = LightGradientView::gradientAt(rect(), angle);
    gradient.setColorAt(0, QColor::fromRgbF(dark ? 1.0f : 0.0f, dark ? 1.0f : 0.0f, dark ? 1.0f : 0.0f, float(alpha)));
    gradient.setColorAt(1, QColor::fromRgbF(dark ? 0.98f : 0.2f, dark ? 0.98f : 0.2f, dark ? 0.98f : 0.2f, float(alpha)));
    painter.fillRect(rect(), gradient);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}
