#include "RangeSlider.h"

#include "settings/NotificationCenter.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

RangeSlider::RangeSlider(QWidget* parent)
    : RangeSlider(NotificationCenter::defaultCenter(), parent)
{
}

RangeSlider::RangeSlider(NotificationCenter& notifications, QWidget* parent)
    : QWidget(parent)
    , center(notifications)
{
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(16);
}

double RangeSlider::valueAt(double fraction) const
{
    const double value = lowest + fraction * (highest - lowest);
    // Whole numbers stay whole: 15 / 22 × 22 is 14.999999999999998, and a
    // run of cells that ends there would lose its last one.
    return snaps ? std::round(value) : value;
}

double RangeSlider::fractionOf(double value) const
{
    // An empty range has no fractions; it selects nothing.
    return highest == lowest ? 0 : (value - lowest) / (highest - lowest);
}

double RangeSlider::start() const { return valueAt(range.start); }
double RangeSlider::end() const { return valueAt(range.end); }

void RangeSlider::setStart(double value)
{
    setSelection({fractionOf(value), range.end});
}

void RangeSlider::setEnd(double value)
{
    setSelection({range.start, fractionOf(value)});
}

void RangeSlider::setMinValue(double value)
{
    lowest = value;
    update();
}

void RangeSlider::setMaxValue(double value)
{
    highest = value;
    update();
}

void RangeSlider::setSnapsToIntegers(bool snap)
{
    snaps = snap;
    update();
}

void RangeSlider::setSelection(SelectionRange next)
{
    const bool moved = next.start != range.start || next.end != range.end;
    range = next;
    if (moved) {
        center.postNotification(QStringLiteral("sliderChanged"), {},
                                {{QStringLiteral("name"), objectName()},
                                 {QStringLiteral("start"), start()},
                                 {QStringLiteral("end"), end()}});
        if (onControlChanged)
            onControlChanged(*this);
    }
    update();
}

QRectF RangeSlider::knobRect(double fraction) const
{
    const double diameter = std::max(0, height() - 4);
    const auto half = [](double v) { return std::round(v * 2) / 2; };
    const double x = std::clamp(fraction * width() - diameter / 2, 0.0, std::max(0.0, width() - diameter - 1));
    return QRectF(half(x), half((height() - diameter) / 2), diameter, diameter);
}

void RangeSlider::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled() || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF at = event->position();
    if (knobRect(range.start).contains(at)) {
        dragging = DraggedSlider::start;
    } else if (knobRect(range.end).contains(at)) {
        dragging = DraggedSlider::end;
    } else if (allowClicksOnBarToMoveSliders) {
        const double toStart = std::abs(at.x() - knobRect(range.start).center().x());
        const double toEnd = std::abs(at.x() - knobRect(range.end).center().x());
        dragging = toStart < toEnd ? DraggedSlider::start : DraggedSlider::end;
        updateFromX(at.x());
    } else {
        dragging.reset();
    }
}

void RangeSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (isEnabled() && event->buttons().testFlag(Qt::LeftButton))
        updateFromX(event->position().x());
}

void RangeSlider::updateFromX(double x)
{
    if (!dragging)
        return;
    // A control of no width has no positions to point at: it selects nothing.
    if (width() <= 0) {
        setSelection({0, 0});
        return;
    }
    double f = std::min(x / width(), 1.0);
    if (f <= 0)
        f = 0;
    const double span = highest - lowest;
    if (snaps && span != 0)
        f = std::round(f * span) / span;
    if (*dragging == DraggedSlider::start)
        setSelection({f, range.end <= f ? f : range.end});
    else
        setSelection({f < range.start ? f : range.start, f});
}

void RangeSlider::keyPressEvent(QKeyEvent* event)
{
    // Left and Right move the end knob, with Shift the start knob: a step
    // is one whole number when snapping, a hundredth otherwise.
    const int direction = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
    const double span = highest - lowest;
    if (direction == 0 || span == 0 || !isEnabled()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const double step = snaps ? 1 / std::abs(span) : 0.01;
    const bool startKnob = event->modifiers().testFlag(Qt::ShiftModifier);
    dragging = startKnob ? DraggedSlider::start : DraggedSlider::end;
    const double from = startKnob ? range.start : range.end;
    updateFromX(std::clamp(from + direction * step, 0.0, 1.0) * width());
}

void RangeSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double middle = height() / 2.0;
    const auto white = [](double level, double alpha) {
        return QColor::fromRgbF(float(level), float(level), float(level), float(alpha));
    };
    const auto barPath = [&](double from, double to) {
        QPainterPath path;
        path.addRoundedRect(QRectF(from, middle - 0.5, std::max(0.0, to - from), 1), 0.5, 0.5);
        return path;
    };
    QLinearGradient bar(0, 0, width(), 0);
    bar.setColorAt(0, white(0.8, 0.8));
    bar.setColorAt(1, white(0.8, 0.7));
    const QPainterPath whole = barPath(0, width());
    painter.fillPath(whole, bar);
    painter.strokePath(whole, QPen(white(0, 0.25), 0.5));

    QLinearGradient selected(0, 0, width(), 0);
    selected.setColorAt(0, white(1.0, 1.0));
    selected.setColorAt(1, white(0.98, 1.0));
    const QPainterPath chosen = barPath(range.start * width(), range.end * width());
    painter.fillPath(chosen, selected);
    painter.strokePath(chosen, QPen(white(1, 0.7), 0.5));

    for (const double fraction : {range.end, range.start}) { // the start knob on top
        const QRectF knob = knobRect(fraction);
        QLinearGradient fill(knob.topLeft(), knob.bottomLeft());
        fill.setColorAt(0, white(1.0, 1.0));
        fill.setColorAt(1, white(0.98, 1.0));
        painter.setBrush(fill);
        painter.setPen(QPen(white(0, 0.25), 1));
        painter.drawEllipse(knob);
    }
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
        painter.drawEllipse(knobRect(dragging == DraggedSlider::start ? range.start : range.end).adjusted(-1, -1, 1, 1));
    }
}
