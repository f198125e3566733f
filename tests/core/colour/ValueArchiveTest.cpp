#include "colour/ValueArchive.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray be32(quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    return QByteArray(bytes, 4);
}

QByteArray element(char kind, const QByteArray& payload)
{
    return QByteArray(1, kind) + be32(quint32(payload.size())) + payload;
}

std::string hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toStdString();
}

} // namespace

// The stored forms, written out by hand so that a change of the writer
// cannot go unnoticed: stores written by older builds must stay readable.
TEST(ValueArchive, StoredFormsAreStableAndReadBack)
{
    EXPECT_EQ(hex(ValueArchive::archiveString("9aa2f8")), hex("HLS1" + be32(6) + "9aa2f8"));
    EXPECT_EQ(hex(ValueArchive::archiveString("")), hex("HLS1" + be32(0)));
    EXPECT_EQ(hex(ValueArchive::archiveStringList({"fff9be", "é"})),
              hex("HLL1" + be32(2) + element('s', "fff9be") + element('s', "\xc3\xa9")));
    EXPECT_EQ(hex(ValueArchive::archiveList({QString("ab"), QByteArray("\x01\x02", 2)})),
              hex("HLL1" + be32(2) + element('s', "ab") + element('b', QByteArray("\x01\x02", 2))));
    EXPECT_EQ(hex(ValueArchive::archiveStringList({})), hex("HLL1" + be32(0)));

    // Every value reads back, and equal values give equal bytes.
    const QStringList texts = {"", "9aa2f8", "Grüße ・ 色", QString(70000, u'x')};
    for (const QString& text : texts) {
        EXPECT_EQ(ValueArchive::unarchiveString(ValueArchive::archiveString(text)), text);
        EXPECT_EQ(ValueArchive::archiveString(text), ValueArchive::archiveString(QString(text)));
    }
    const QVariantList mixed = {QString("ff0000"), QByteArray("raw"), QString(), QByteArray()};
    EXPECT_EQ(ValueArchive::unarchiveList(ValueArchive::archiveList(mixed)), mixed);
    EXPECT_EQ(ValueArchive::unarchiveList(ValueArchive::archiveStringList(texts)), QVariant(texts).toList());
    // The same list built either way is the same bytes.
    EXPECT_EQ(ValueArchive::archiveStringList(texts), ValueArchive::archiveList(QVariant(texts).toList()));
}

// A list element of a kind this build doesn't know is kept as bytes: the
// reader can skip it as "not a string" and read the rest.
TEST(ValueArchive, UnknownElementKindReadsAsBytes)
{
    const QByteArray stored = "HLL1" + be32(3) + element('s', "aa") + element('n', "12345678") + element('s', "bb");
    const std::optional<QVariantList> list = ValueArchive::unarchiveList(stored);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 3);
    EXPECT_EQ(list->at(0), QVariant(QString("aa")));
    EXPECT_EQ(list->at(1).typeId(), QMetaType::QByteArray);
    EXPECT_EQ(list->at(2), QVariant(QString("bb")));
}

TEST(ValueArchive, DamagedBytesAreUnreadable)
{
    const QByteArray string = ValueArchive::archiveString("9aa2f8");
    const QByteArray list = ValueArchive::archiveStringList({"aa", "bb"});
    // Every truncation, and one byte too many.
    for (qsizetype n = 0; n < string.size(); ++n)
        EXPECT_FALSE(ValueArchive::unarchiveString(string.left(n))) << "string cut to " << n;
    for (qsizetype n = 0; n < list.size(); ++n)
        EXPECT_FALSE(ValueArchive::unarchiveList(list.left(n))) << "list cut to " << n;
    EXPECT_FALSE(ValueArchive::unarchiveString(string + 'x'));
    EXPECT_FALSE(ValueArchive::unarchiveList(list + 'x'));

    const struct { const char* what; QByteArray bytes; } lists[] = {
        {"one form read as the other", string},
        {"wrong magic", "HLL2" + be32(0)},
        {"count beyond the bytes", "HLL1" + be32(0xFFFFFFFF)},
        {"element length beyond the bytes", "HLL1" + be32(1) + QByteArray(1, 's') + be32(0x7FFFFFFF) + "ab"},
    };
    for (const auto& row : lists)
        EXPECT_FALSE(ValueArchive::unarchiveList(row.bytes)) << row.what;
    EXPECT_FALSE(ValueArchive::unarchiveString(list)) << "a list read as a string";
    EXPECT_FALSE(ValueArchive::unarchiveString("HLS1" + be32(0xFFFFFFFF) + "ab"));
}
