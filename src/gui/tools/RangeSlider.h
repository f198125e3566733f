#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class NotificationCenter;

// Two knobs on one bar selecting [start, end] of [minValue, maxValue]: under
// the tool window's preview of extracted colours it picks the run of
// colours to keep. Every change of the selection is posted as
// "sliderChanged" with the control's object name as "name", so the owner
// needs no hold on it beyond setting it up.
//
// The selection is kept as fractions of the range, so changing the range
// moves the values with it (and reports nothing). With snapsToIntegers the
// pointer lands on whole numbers and start and end are reported as whole
// numbers. An empty range (minValue == maxValue) or a control of no width
// selects nothing: start and end are then minValue.
class RangeSlider : public QWidget
{
    Q_OBJECT

public:
    enum class DraggedSlider { start, end };

    struct SelectionRange
    {
        double start = 0;
        double end = 1;
        bool operator==(const SelectionRange&) const = default;
    };

    explicit RangeSlider(QWidget* parent = nullptr);
    RangeSlider(NotificationCenter& center, QWidget* parent = nullptr);

    double start() const;
    double end() const;
    void setStart(double value);
    void setEnd(double value);
    double minValue() const { return lowest; }
    double maxValue() const { return highest; }
    void setMinValue(double value);
    void setMaxValue(double value);
    bool snapsToIntegers() const { return snaps; }
    void setSnapsToIntegers(bool snap);

    bool allowClicksOnBarToMoveSliders = true;
    // Called after each change is posted.
    std::function<void(RangeSlider&)> onControlChanged;

    const SelectionRange& selection() const { return range; }
    std::optional<DraggedSlider> currentSliderDragging() const { return dragging; }

    // The knobs as they are drawn; the start knob wins where they overlap.
    QRectF knobRect(double fraction) const;

    QSize sizeHint() const override { return {200, 20}; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    double valueAt(double fraction) const;
    double fractionOf(double value) const;
    void updateFromX(double x);
    void setSelection(SelectionRange next);

    NotificationCenter& center;
    double lowest = 0;
    double highest = 1;
    bool snaps = false;
    SelectionRange range;
    std::optional<DraggedSlider> dragging;
};
