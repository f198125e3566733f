#include "ValueArchive.h"

#include <QtEndian>

#include <cstring>

namespace {

constexpr char stringMagic[4] = {'H', 'L', 'S', '1'};
constexpr char listMagic[4] = {'H', 'L', 'L', '1'};
constexpr char textKind = 's';
constexpr char bytesKind = 'b';
constexpr qsizetype elementHeader = 1 + 4;

void appendLength(QByteArray& out, qsizetype length)
{
    char bytes[4];
    qToBigEndian(static_cast<quint32>(length), bytes);
    out.append(bytes, 4);
}

qsizetype readLength(const char* bytes)
{
    return static_cast<qsizetype>(qFromBigEndian<quint32>(bytes));
}

void appendElement(QByteArray& out, char kind, const QByteArray& payload)
{
    out.append(kind);
    appendLength(out, payload.size());
    out.append(payload);
}

} // namespace

namespace ValueArchive {

QByteArray archiveString(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(8 + utf8.size());
    out.append(stringMagic, 4);
    appendLength(out, utf8.size());
    out.append(utf8);
    return out;
}

std::optional<QString> unarchiveString(QByteArrayView bytes)
{
    if (bytes.size() < 8 || std::memcmp(bytes.data(), stringMagic, 4) != 0)
        return std::nullopt;
    const qsizetype length = readLength(bytes.data() + 4);
    if (length != bytes.size() - 8)
        return std::nullopt;
    return QString::fromUtf8(bytes.data() + 8, length);
}

QByteArray archiveStringList(const QStringList& list)
{
    QByteArray out;
    out.append(listMagic, 4);
    appendLength(out, list.size());
    for (const QString& text : list)
        appendElement(out, textKind, text.toUtf8());
    return out;
}

QByteArray archiveList(const QVariantList& list)
{
    QByteArray out;
    out.append(listMagic, 4);
    appendLength(out, list.size());
    for (const QVariant& element : list) {
        if (element.typeId() == QMetaType::QString)
            appendElement(out, textKind, element.toString().toUtf8());
        else
            appendElement(out, bytesKind, element.toByteArray());
    }
    return out;
}

std::optional<QVariantList> unarchiveList(QByteArrayView bytes)
{
    if (bytes.size() < 8 || std::memcmp(bytes.data(), listMagic, 4) != 0)
        return std::nullopt;
    const qsizetype count = readLength(bytes.data() + 4);
    qsizetype at = 8;
    // Every element takes at least its header: a count beyond that is a
    // damaged value, and must not make us reserve gigabytes.
    if (count > (bytes.size() - at) / elementHeader)
        return std::nullopt;

    QVariantList list;
    list.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        if (bytes.size() - at < elementHeader)
            return std::nullopt;
        const char kind = bytes[at];
        const qsizetype length = readLength(bytes.data() + at + 1);
        at += elementHeader;
        if (length > bytes.size() - at)
            return std::nullopt;
        if (kind == textKind)
            list.append(QString::fromUtf8(bytes.data() + at, length));
        else
            list.append(QByteArray(bytes.data() + at, length));
        at += length;
    }
    if (at != bytes.size())
        return std::nullopt;
    return list;
}

} // namespace ValueArchive
