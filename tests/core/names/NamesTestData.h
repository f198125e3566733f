#pragma once

#include "names/NamesDatabaseBuilder.h"
#include "sqlite/SqlDatabase.h"
#include "sqlite/SqlResultSet.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "QtPrinters.h"

#include <gtest/gtest.h>

// A names database at `path` made by the builder from CSV text.
inline NamesDatabaseBuilder::Result buildNames(const QByteArray& csv, const QString& path)
{
    return NamesDatabaseBuilder::generateDatabaseFromCSV(NamesDatabaseBuilder::linesFromCSV(csv), path,
                                                         ColorSpace::sRGB());
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
