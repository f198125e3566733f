#include "SwatchWell.h"

#include "colour/ColorSpace.h"
#include "controls/AppearanceColors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

SwatchWell::SwatchWell(QWidget* parent)
    : QWidget(parent)
    , wellColor(std::make_shared<const Color>())
    , shown(Qt::black)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus); // a click on the well ends the edit of a field
}

void SwatchWell::setColor(const Color& color)
{
    wellColor = std::make_shared<const Color>(color);
    shown = AppearanceColors::onScreen(color);
    update();
    Q_EMIT colorChanged();
}

QSize SwatchWell::minimumSizeHint() const { return QWidget::minimumSizeHint().expandedTo(QSize(240, 140)); }

void SwatchWell::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), shown);
}

void SwatchWell::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
    QWidget::mousePressEvent(event);
}
