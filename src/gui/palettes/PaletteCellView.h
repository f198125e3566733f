#pragma once

#include "colour/Color.h"

#include <QList>
#include <QStyledItemDelegate>

#include <functional>

// How a row of the palettes window looks: the palette's name on a tab over
// a strip of its colours, and the name field that renames it in place.
class PaletteCellView : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Rows are tall enough to aim at with a finger, and taller with a
    // large font.
    static constexpr int rowHeight = 48;
    static int tabHeight(const QFont& font);

    // The model's palettes by proxy row; the colour space strips are drawn in.
    using ColorsOf = std::function<const QList<Color>*(const QModelIndex&)>;
    PaletteCellView(ColorsOf colorsOf, std::function<ColorSpacePtr()> wellColorSpace, QObject* parent = nullptr);

    // With more than 100 colours, 100 of them spread evenly, the first and
    // the last always among them: a strip of thousands would be a blur of
    // hairlines, and drawing it would cost each repaint.
    static QList<Color> colorsPruned(const QList<Color>& colors);

    // The tab behind the name, for a name of that text in a row at `row`.
    static QRect nameRect(const QRect& row, const QFont& font, const QString& name);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private:
    ColorsOf colorsOf;
    std::function<ColorSpacePtr()> wellColorSpace;
};
