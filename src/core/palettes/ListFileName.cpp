#include "ListFileName.h"

#include <QCryptographicHash>
#include <QFile>

namespace ListFileName {

namespace {

const QString shortenedMark = QStringLiteral("%~");
constexpr qsizetype hashDigits = 16;

bool needsEncoding(QChar c, bool first)
{
    return c == u'%' || c == u'/' || c == u'\\' || c.category() == QChar::Other_Control || (first && c == u'.');
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1; // lower case is not the encoder's spelling
}

// As much of the encoded name as fits, never cutting an escape or a
// surrogate pair, then the mark and the hash of the whole name.
QString shortened(const QString& name, const QString& encoded)
{
    const qsizetype budget = maximumBytes - shortenedMark.size() - hashDigits;
    QString prefix;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < encoded.size();) {
        const qsizetype length = encoded[i] == u'%' ? 3 : encoded[i].isHighSurrogate() ? 2 : 1;
        const QStringView unit = QStringView(encoded).sliced(i, length);
        bytes += unit.toUtf8().size();
        if (bytes > budget)
            break;
        prefix += unit;
        i += length;
    }
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256);
    return prefix + shortenedMark + QString::fromLatin1(hash.left(hashDigits / 2).toHex());
}

} // namespace

std::optional<QString> fileNameForList(const QString& name)
{
    if (name.isEmpty() || !name.isValidUtf16())
        return std::nullopt;
    QString encoded;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!needsEncoding(name[i], i == 0)) {
            encoded += name[i];
            continue;
        }
        for (const char byte : QString(name[i]).toUtf8())
            encoded += QStringLiteral("%%1").arg(static_cast<uchar>(byte), 2, 16, QLatin1Char('0')).toUpper();
    }
    if (encoded.toUtf8().size() > maximumBytes)
        return shortened(name, encoded);
    return encoded;
}

bool isShortened(const QString& baseName)
{
    return baseName.contains(shortenedMark);
}

std::optional<QString> listNameForFile(const QString& baseName)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < baseName.size();) {
        if (baseName[i] != u'%') {
            // A run at a time, so that surrogate pairs reach UTF-8 together.
            qsizetype end = baseName.indexOf(u'%', i);
            if (end < 0)
                end = baseName.size();
            bytes += QStringView(baseName).sliced(i, end - i).toUtf8();
            i = end;
            continue;
        }
        const int high = i + 2 < baseName.size() ? hexValue(baseName[i + 1].unicode()) : -1;
        const int low = i + 2 < baseName.size() ? hexValue(baseName[i + 2].unicode()) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 3;
    }
    // Decoding is lenient and the check is strict: a name is accepted only
    // when encoding it again gives back the very same file name. That one
    // comparison refuses lower-case digits, needlessly encoded characters,
    // bytes that are not UTF-8 and names that would be too long.
    const QString name = QString::fromUtf8(bytes);
    if (fileNameForList(name) != baseName)
        return std::nullopt;
    return name;
}

std::optional<QString> listNameInFolder(const QString& folder, const QString& baseName)
{
    if (!isShortened(baseName))
        return listNameForFile(baseName);
    QFile file(folder + u'/' + baseName + nameExtension);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A name a person typed; anything much larger is not one of ours.
    const QString name = QString::fromUtf8(file.read(64 * 1024));
    if (fileNameForList(name) != baseName)
        return std::nullopt;
    return name;
}

} // namespace ListFileName
