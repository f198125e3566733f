#include "PoofEffect.h"

#include <QPainter>
#include <QVariantAnimation>

#include <array>
#include <cmath>

namespace {

constexpr int side = 64;

} // namespace

PoofEffect::PoofEffect()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("poof"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(side, side);
}

PoofEffect* PoofEffect::showAt(const QPoint& globalPoint)
{
    auto* poof = new PoofEffect;
    poof->move(globalPoint - QPoint(side / 2, side / 2));
    auto* animation = new QVariantAnimation(poof);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(durationMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(animation, &QVariantAnimation::valueChanged, poof, [poof](const QVariant& value) {
        poof->progress = value.toReal();
        poof->update();
    });
    connect(animation, &QVariantAnimation::finished, poof, &QWidget::close);
    poof->show();
    animation->start();
    return poof;
}

void PoofEffect::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QPointF centre(side / 2.0, side / 2.0);
    const qreal fade = 1.0 - progress;
    // Five puffs drifting outwards from the centre, and one in the middle.
    static const std::array<qreal, 5> angles { 0.3, 1.55, 2.8, 4.0, 5.25 };
    for (size_t i = 0; i <= angles.size(); ++i) {
        const bool middle = i == angles.size();
        const qreal reach = middle ? 0 : 6 + 16 * progress;
        const qreal radius = (middle ? 9 : 6) + 7 * progress;
        const QPointF at = middle ? centre
                                  : centre + QPointF(std::cos(angles[i]) * reach, std::sin(angles[i]) * reach);
        QRadialGradient puff(at, radius);
        puff.setColorAt(0, QColor(235, 235, 238, int(230 * fade)));
        puff.setColorAt(0.7, QColor(200, 200, 205, int(150 * fade)));
        puff.setColorAt(1, QColor(180, 180, 185, 0));
        painter.setBrush(puff);
        painter.drawEllipse(at, radius, radius);
    }
}
