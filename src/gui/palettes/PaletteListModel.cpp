#include "PaletteListModel.h"

#include <QCollator>

#include <algorithm>

namespace {

QCollator nameOrder()
{
    QCollator order;
    order.setCaseSensitivity(Qt::CaseInsensitive);
    order.setNumericMode(true);
    return order;
}

} // namespace

PaletteListModel::PaletteListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void PaletteListModel::sortPalettes(QList<PaletteEntry>& palettes)
{
    const QCollator order = nameOrder();
    std::stable_sort(palettes.begin(), palettes.end(),
                     [&order](const PaletteEntry& a, const PaletteEntry& b) { return order(a.name, b.name); });
}

void PaletteListModel::setPalettes(QList<PaletteEntry> palettes)
{
    sortPalettes(palettes);
    beginResetModel();
    entries = std::move(palettes);
    endResetModel();
}

int PaletteListModel::rowOfName(const QString& name) const
{
    for (int row = 0; row < entries.size(); ++row)
        if (entries[row].name == name)
            return row;
    return -1;
}

void PaletteListModel::renameEntry(int row, const QString& name)
{
    if (row < 0 || row >= entries.size() || entries[row].name == name)
        return;
    entries[row].name = name;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed);
}

void PaletteListModel::placeRow(int row)
{
    if (row < 0 || row >= entries.size())
        return;
    // Where the name belongs among the others: after every name that sorts
    // before it, and after those that sort the same, as a sort would put it.
    const QCollator order = nameOrder();
    const QString& name = entries[row].name;
    int place = 0;
    for (int other = 0; other < entries.size(); ++other)
        if (other != row && !order(name, entries[other].name))
            ++place;
    if (place == row)
        return;
    // A move, not a reset: the selection and the view's scroll stay on it.
    beginMoveRows({}, row, row, {}, place > row ? place + 1 : place);
    entries.move(row, place);
    endMoveRows();
}

int PaletteListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries.size());
}

QVariant PaletteListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= entries.size())
        return {};
    const PaletteEntry& entry = entries[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry.name;
    case Qt::ToolTipRole:
        return tr("%1 (%n colour(s))", nullptr, int(entry.colors.size())).arg(entry.name);
    case EditableRole:
        return entry.editable;
    default:
        return {};
    }
}

bool PaletteListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !rename)
        return false;
    // The renamer moves the row itself (renameEntry) once the list is saved
    // under its new name.
    const QString before = entries[index.row()].name;
    return rename(index.row(), value.toString()) != before;
}

Qt::ItemFlags PaletteListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (entries[index.row()].editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}
