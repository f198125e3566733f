#include "AutoCompleteTableRowView.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

QFont AutoCompleteTableRowView::rowFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(13);
    return font;
}

void AutoCompleteTableRowView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    painter->save();
    if (option.state & QStyle::State_Selected) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Qt::white, 1));
        painter->setBrush(Qt::white);
        painter->drawRect(QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter->setFont(rowFont());
    painter->setPen(Qt::black);
    const QRect textRect = option.rect.adjusted(padding, 0, -4, 0);
    const QString text = QFontMetrics(rowFont()).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                             textRect.width());
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
    painter->restore();
}

QSize AutoCompleteTableRowView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    return { 0, QFontMetrics(rowFont()).height() + 6 };
}
