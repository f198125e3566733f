#include "SwatchCellView.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace {

// Small and in the top corner, clear of the chip's middle, where a click
// picks the swatch.
constexpr int removeButtonSize = 12;
constexpr int removeButtonInset = 3;

bool isLight(const QColor& color)
{
    // Relative luminance with the sRGB weights; the 0.6 threshold keeps white
    // marks on mid tones, where they read better than black.
    return 0.2126 * color.redF() + 0.7152 * color.greenF() + 0.0722 * color.blueF() > 0.6;
}

QPixmap crossInCircle(const QColor& disc, const QColor& cross, qreal ratio)
{
    QPixmap pixmap(QSize(removeButtonSize, removeButtonSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(0.5, 0.5, removeButtonSize - 1, removeButtonSize - 1));
    QPen pen(cross, 1.4);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const qreal a = 4, b = removeButtonSize - 4;
    painter.drawLine(QPointF(a, a), QPointF(b, b));
    painter.drawLine(QPointF(a, b), QPointF(b, a));
    return pixmap;
}

} // namespace

SwatchCellView::SwatchCellView(int row, const QColor& color, const QString& hexCode, QWidget* parent)
    : QWidget(parent)
    , rowNumber(row)
    , shown(color)
{
    setToolTip(hexCode);
    removeButton = new QToolButton(this);
    removeButton->setAutoRaise(true);
    removeButton->setFocusPolicy(Qt::NoFocus); // Delete on the focused row does the same
    removeButton->setCursor(Qt::ArrowCursor);
    removeButton->setFixedSize(removeButtonSize, removeButtonSize);
    removeButton->setIconSize(QSize(removeButtonSize, removeButtonSize));
    // Only the disc takes the click, not the square around it.
    removeButton->setMask(QRegion(0, 0, removeButtonSize, removeButtonSize, QRegion::Ellipse));
    removeButton->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; background: transparent; }"));
    removeButton->setToolTip(tr("Remove %1").arg(hexCode));
    removeButton->setAccessibleName(tr("Remove swatch %1").arg(hexCode));
    QIcon icon;
    const QColor disc = isLight(shown) ? QColor(0, 0, 0, 150) : QColor(255, 255, 255, 215);
    const QColor cross = isLight(shown) ? QColor(255, 255, 255) : QColor(40, 40, 40);
    for (const qreal ratio : { 1.0, 2.0, 3.0 })
        icon.addPixmap(crossInCircle(disc, cross, ratio));
    removeButton->setIcon(icon);
    removeButton->hide();
    connect(removeButton, &QToolButton::clicked, this, [this] { Q_EMIT removeClicked(rowNumber); });
}

void SwatchCellView::setCurrent(bool isCurrent)
{
    if (current == isCurrent)
        return;
    current = isCurrent;
    update();
}

void SwatchCellView::setKeyboardFocus(bool focus)
{
    if (keyboardFocus == focus)
        return;
    keyboardFocus = focus;
    update();
}

void SwatchCellView::setEdgeColor(const QColor& color)
{
    if (edge == color)
        return;
    edge = color;
    update();
}

QColor SwatchCellView::markColor(int alpha) const
{
    return isLight(shown) ? QColor(0, 0, 0, alpha * 3 / 4) : QColor(255, 255, 255, alpha);
}

void SwatchCellView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // One chip per row, a gap of 2 px between chips.
    const QRectF chip = QRectF(rect()).adjusted(0.5, 1.5, -0.5, -1.5);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(shown);
    painter.drawRoundedRect(chip, 4, 4);
    if (current) {
        // A small dot on the left: this swatch is the colour in the window.
        const qreal d = 6;
        painter.setPen(Qt::NoPen);
        painter.setBrush(markColor(220));
        painter.drawEllipse(QRectF(7, (height() - d) / 2.0, d, d));
    }
    if (keyboardFocus) {
        QPen pen(markColor(235), 1.5);
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(chip.adjusted(2, 2, -2, -2), 2.5, 2.5);
    }
}

void SwatchCellView::resizeEvent(QResizeEvent* event)
{
    removeButton->move(width() - removeButtonSize - removeButtonInset, removeButtonInset);
    QWidget::resizeEvent(event);
}

void SwatchCellView::enterEvent(QEnterEvent* event)
{
    // No hover while a button is held: that is a drag going past.
    if (QGuiApplication::mouseButtons() == Qt::NoButton)
        Q_EMIT entered(rowNumber);
    QWidget::enterEvent(event);
}

void SwatchCellView::leaveEvent(QEvent* event)
{
    Q_EMIT exited(rowNumber);
    QWidget::leaveEvent(event);
}
