#pragma once

#include "history/HistoryDatabase.h"
#include "sqlite/SqlDatabase.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Runs one statement on the SQLite file at `path` behind the program's back,
// `values` bound to its parameters (bytes as blobs, no value as NULL).
inline bool runSql(const QString& path, const QString& sql, const QVariantList& values = {})
{
    const std::unique_ptr<SqlDatabase> db = SqlDatabase::databaseWithPath(path);
    return db->open() && db->executeUpdate(sql, values);
}

// Overwrites `count` pages in the middle of the SQLite file at `path` with
// bytes no page can hold, as a failing disk or a bad copy leaves a database:
// the header is whole, so it opens, and the damage shows only when those
// pages are read.
inline void damageMiddlePages(const QString& path, int count = 2)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
    const QByteArray header = file.read(100);
    ASSERT_EQ(header.left(15), "SQLite format 3") << path.toStdString();
    const int sizeField = (uchar(header[16]) << 8) | uchar(header[17]);
    const qint64 pageSize = sizeField == 1 ? 65536 : sizeField;
    const qint64 pages = file.size() / pageSize;
    ASSERT_GE(pages, count + 4) << path.toStdString() << " is too small to damage in the middle";
    ASSERT_TRUE(file.seek(pages / 2 * pageSize));
    ASSERT_EQ(file.write(QByteArray(count * pageSize, '\xa5')), count * pageSize);
}

// A history store at `path` with entries enough to fill many pages, damaged
// in the middle of them.
inline void writeDamagedHistoryStore(const QString& path)
{
    HistoryDatabase db;
    ASSERT_FALSE(db.open(path, HistoryDatabase::Access::ReadWrite));
    std::vector<NewHistoryItem> items;
    const QDateTime saved(QDate(2026, 12, 6), QTime(9, 0));
    for (int i = 0; i < 2000; ++i)
        items.push_back({"Dec 6, 2026", "entry " + QString::number(i), saved.addSecs(i), "last", "colors"});
    ASSERT_EQ(db.insert(items).added, 2000);
    db.close(); // the last connection folds the WAL into the file
    damageMiddlePages(path);
}
