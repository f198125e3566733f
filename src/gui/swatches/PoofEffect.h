#pragma once

#include <QPoint>
#include <QWidget>

class QVariantAnimation;

// The short puff of smoke where a swatch dragged out of the window vanishes:
// a few soft circles that grow and fade for a quarter of a second, in a
// small see-through window that takes no input and no focus, then deletes
// itself.
class PoofEffect : public QWidget
{
    Q_OBJECT

public:
    // Shows a poof centred on `globalPoint`.
    static PoofEffect* showAt(const QPoint& globalPoint);

    static constexpr int durationMs = 260;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PoofEffect();

    qreal progress = 0; // 0 to 1
};
