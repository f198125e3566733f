#include "PaletteCellView.h"

#include "palettes/PaletteListModel.h"
#include "palettes/PaletteTextField.h"

#include "controls/AppearanceColors.h"
#include "controls/ColorStrip.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int margin = 10;
constexpr int tabTop = 6;
constexpr int stripHeight = 18;
constexpr int tabPadding = 24; // room for the name, ten on either side and some slack
constexpr qreal radius = 4;
constexpr qsizetype mostStrips = 100;

} // namespace

PaletteCellView::PaletteCellView(ColorsOf colors, std::function<ColorSpacePtr()> space, QObject* parent)
    : QStyledItemDelegate(parent)
    , colorsOf(std::move(colors))
    , wellColorSpace(std::move(space))
{
}

QList<Color> PaletteCellView::colorsPruned(const QList<Color>& colors)
{
    const qsizetype n = colors.size();
    if (n <= mostStrips)
        return colors;
    QList<Color> pruned;
    pruned.reserve(mostStrips);
    for (qsizetype i = 0; i < mostStrips; ++i)
        pruned << colors[qsizetype(std::lround(double(n - 1) / double(mostStrips - 1) * double(i)))];
    return pruned;
}

QRect PaletteCellView::nameRect(const QRect& row, const QFont& font, const QString& name)
{
    const int room = row.width() - 2 * margin;
    // Whole pixels rounded up: a name a fraction wider than its rounded
    // width would be elided in its own tab.
    const int text = int(std::ceil(QFontMetricsF(font).horizontalAdvance(name)));
    const int width = std::min(text + tabPadding, room);
    return QRect(row.x() + margin, row.y() + tabTop, std::max(width, 0), tabHeight(font));
}

void PaletteCellView::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    // The row's selection and hover from the style; the name and the strip
    // keep their own colours on it.
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    item.text.clear();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, view);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QString name = index.data(Qt::DisplayRole).toString();
    const QRect tab = nameRect(option.rect, option.font, name);
    // A tab: round above, square where it meets the strip.
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    shape.addRoundedRect(QRectF(tab), radius, radius);
    shape.addRect(QRectF(tab.x(), tab.center().y(), tab.width(), tab.height() / 2.0 + 1));
    painter->fillPath(shape.simplified(), option.palette.color(QPalette::Base));
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    // Elided only when the row has no room for the whole name: at some
    // scales the measured width falls a little short of the drawn one.
    const QFontMetricsF metrics(option.font);
    const qreal room = tab.width() - tabPadding;
    const QString shown =
        metrics.horizontalAdvance(name) <= room ? name : metrics.elidedText(name, Qt::ElideMiddle, room);
    painter->drawText(tab.adjusted(tabPadding / 2, 0, -tabPadding / 2, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, shown);

    const QRectF band(option.rect.x() + margin, tab.bottom() + 1, option.rect.width() - 2 * margin, stripHeight);
    if (const QList<Color>* colors = colorsOf(index)) {
        const qreal ratio = view ? view->devicePixelRatioF() : 1.0;
        ColorStrip::paint(*painter, band, radius, colorsPruned(*colors), wellColorSpace(), ratio);
    }
    painter->restore();
}

int PaletteCellView::tabHeight(const QFont& font)
{
    // Large fonts get a taller tab rather than a clipped name.
    return std::max(18, QFontMetrics(font).height() + 4);
}

QSize PaletteCellView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    Q_UNUSED(index);
    const int height = std::max(rowHeight, tabTop + tabHeight(option.font) + stripHeight + 6);
    return QSize(option.rect.width() > 0 ? option.rect.width() : 280, height);
}

QWidget* PaletteCellView::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    if (!index.data(PaletteListModel::EditableRole).toBool())
        return nullptr;
    return new PaletteTextField(parent);
}

void PaletteCellView::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const
{
    const QRect tab = nameRect(option.rect, option.font, index.data(Qt::DisplayRole).toString());
    editor->setGeometry(tab.x(), tab.y(), tab.width(), tab.height());
    if (auto* field = qobject_cast<PaletteTextField*>(editor))
        field->setMaximumTabWidth(option.rect.width() - 2 * margin);
}
