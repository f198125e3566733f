#pragma once

#include "colour/Color.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>

#include <functional>

// One row of the palettes window.
struct PaletteEntry
{
    QString name;
    bool editable = false; // the user's own list; system lists are fixed
    QList<Color> colors;   // in key order

    bool operator==(const PaletteEntry&) const = default;
};

// The palettes of the window in the order it shows them: by name, as the
// user's language sorts, letter case ignored, user and system lists mixed.
class PaletteListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { EditableRole = Qt::UserRole + 1 };

    // Called with the row and the text the user typed when a name edit
    // ends; does the renaming and answers the name the list has now (the
    // old one when nothing was renamed).
    using Renamer = std::function<QString(int row, const QString& text)>;

    explicit PaletteListModel(QObject* parent = nullptr);

    static void sortPalettes(QList<PaletteEntry>& palettes);

    const QList<PaletteEntry>& palettes() const { return entries; }
    // Replaces every row (sorted here).
    void setPalettes(QList<PaletteEntry> palettes);
    const PaletteEntry& entry(int row) const { return entries.at(row); }
    // -1 when no row has that name.
    int rowOfName(const QString& name) const;
    // Gives a row its new name where it stands.
    void renameEntry(int row, const QString& name);
    // Moves a row to its place in the order; views keep their selection and
    // current row on it.
    void placeRow(int row);
    void setRenamer(Renamer renamer) { rename = std::move(renamer); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<PaletteEntry> entries;
    Renamer rename;
};
