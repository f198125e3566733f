#include "SwatchListModel.h"

void SwatchListModel::setRows(QList<Row> rows)
{
    beginResetModel();
    list = std::move(rows);
    endResetModel();
}

int SwatchListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(list.size());
}

QVariant SwatchListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= list.size())
        return {};
    const Row& row = list[index.row()];
    // The rows' cell views draw the colours; the model only names them.
    switch (role) {
    case Qt::ToolTipRole:
        return row.hexCode;
    case Qt::AccessibleTextRole:
        return tr("Swatch %1, %2").arg(index.row() + 1).arg(row.hexCode);
    case ColorDataRole:
        return row.colorData;
    default:
        return {};
    }
}

Qt::ItemFlags SwatchListModel::flags(const QModelIndex& index) const
{
    // Drops land in the gaps between rows, never on a row: the view decides
    // where, so no row takes them itself.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions SwatchListModel::supportedDragActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

Qt::DropActions SwatchListModel::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}
