#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>

// The rows of the swatch column: one archived colour per row, top first,
// with what a row shows (its colour on screen and its hex code) worked out
// once when the list is set rather than on every paint.
class SwatchListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { ColorDataRole = Qt::UserRole + 1 };

    struct Row
    {
        QByteArray colorData; // the archived colour exactly as stored
        QColor shown;         // the colour in sRGB, for the screen
        QString hexCode;      // the displayed form of its code
        bool operator==(const Row&) const = default;
    };

    using QAbstractListModel::QAbstractListModel;

    // Replaces every row ("reload the table").
    void setRows(QList<Row> rows);
    const QList<Row>& rows() const { return list; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

private:
    QList<Row> list;
};
