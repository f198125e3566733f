#pragma once

#include <QStyledItemDelegate>

// Draws one row of the completion list: the name in black after a narrow
// padding, and the highlighted row as a plain white band, which reads on
// the list's light background whatever colour the window is.
class AutoCompleteTableRowView : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int padding = 10; // before the text

    using QStyledItemDelegate::QStyledItemDelegate;

    // The font of the rows: the desktop's, at 13 px.
    static QFont rowFont();

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
