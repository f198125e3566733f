#pragma once

#include "names/NameCache.h"
#include "names/NamesDatabase.h"
#include "names/NamesDatabaseBuilder.h"
#include "sqlite/SqlDatabase.h"
#include "sqlite/SqlResultSet.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

// A names database at `path` made by the builder from CSV text.
inline NamesDatabaseBuilder::Result buildNames(const QByteArray& csv, const QString& path)
{
    return NamesDatabaseBuilder::generateDatabaseFromCSV(NamesDatabaseBuilder::linesFromCSV(csv), path,
                                                         ColorSpace::sRGB());
}

// A CSV of `rows` names, "Colour 0" to "Colour <rows - 1>", each code a new one.
inline QByteArray largeCSV(int rows)
{
    QByteArray csv = "name,hex\n";
    for (int i = 0; i < rows; ++i)
        csv += "Colour " + QByteArray::number(i) + ",#" + QByteArray::number(i % 0xffffff, 16).rightJustified(6, '0')
            + "\n";
    return csv;
}

// Each row of `colors` in table order as "id|name|hexCode|r|g|b|h|s|l".
inline QStringList storedRows(const QString& path)
{
    QStringList rows;
    const auto db = SqlDatabase::databaseWithPath(path);
    if (!db->open())
        return rows;
    const auto rs = db->executeQuery(QStringLiteral("SELECT id,name,hexCode,r,g,b,h,s,l FROM colors"));
    while (rs && rs->next()) {
        QStringList fields;
        for (int i = 0; i < 9; ++i)
            fields << rs->stringForColumnIndex(i).value_or(QStringLiteral("NULL"));
        rows << fields.join(u'|');
    }
    return rows;
}

// A name cache over "names.db" in a folder of its own, making completions
// only when asked. Given names, it builds them and loads them at once.
struct NamesFolder
{
    explicit NamesFolder(const QByteArray& csv = {})
        : cache(dir.filePath(QStringLiteral("names.db")))
    {
        cache.setPrepareCompletionsAhead(false);
        if (!csv.isEmpty()) {
            build(csv);
            cache.cacheNamesDatabase();
        }
    }

    // Puts a database of `csv` in place whole, as an update does.
    void build(const QByteArray& csv)
    {
        const QString built = cache.databasePath() + QStringLiteral(".new");
        ASSERT_EQ(buildNames(csv, built).status, NamesDatabaseBuilder::Result::Status::Built);
        ASSERT_TRUE(NamesDatabase::replaceDBFile(built, cache.databasePath()));
    }

    QTemporaryDir dir;
    NameCache cache;
};
