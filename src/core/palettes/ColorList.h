#pragma once

#include "colour/Color.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// A palette: a name and colours in order, each under a key that is unique
// within the list. A plain value; the store that keeps lists as files and the
// codecs that read and write other formats all trade in it.
class ColorList
{
public:
    struct Entry
    {
        QString key;
        Color color;
        bool operator==(const Entry&) const = default;
    };

    ColorList() = default;
    explicit ColorList(QString name)
        : listName(std::move(name))
    {
    }

    const QString& name() const { return listName; }
    void setName(const QString& name) { listName = name; }

    const QList<Entry>& entries() const { return list; }
    qsizetype size() const { return list.size(); }
    bool isEmpty() const { return list.isEmpty(); }

    bool contains(const QString& key) const { return indexOf(key) >= 0; }
    std::optional<Color> color(const QString& key) const;

    // A key already present keeps its place and takes the new colour; a new
    // key goes to the end. Keys therefore stay unique whatever the caller does.
    void setColor(const QString& key, const Color& color);
    // At `index` (clamped to the list). A key already present leaves its old
    // place first, so the list never holds it twice.
    void insertColor(const Color& color, const QString& key, qsizetype index);
    bool removeColor(const QString& key);

    bool operator==(const ColorList& other) const { return listName == other.listName && list == other.list; }

private:
    qsizetype indexOf(const QString& key) const { return index.value(key, -1); }

    QString listName;
    QList<Entry> list;
    // Key to position. An imported file may hold hundreds of thousands of
    // colours, each added through the key rule's lookups: a scan per lookup
    // would make such an import quadratic.
    QHash<QString, qsizetype> index;
};
