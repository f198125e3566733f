#include "AdobeSwatchExchange.h"

#include "colour/Cmyk.h"
#include "colour/ColorSpace.h"

#include <QByteArrayView>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>

namespace AdobeSwatchExchange {

namespace {

constexpr quint16 groupStart = 0xC001;
constexpr quint16 groupEnd = 0xC002;
constexpr quint16 colourEntry = 0x0001;
constexpr quint16 normalColour = 2;
// The name-length field is 16 bits and counts the terminating zero unit.
constexpr qsizetype maximumNameUnits = 0xFFFF - 1;

// Big-endian reads that never go past the end of their bytes: each answers
// nothing when the bytes are not all there. Lengths read from the file only
// ever select bytes that exist; nothing is allocated from them.
class Bigendian
{
public:
    explicit Bigendian(QByteArrayView bytes)
        : data(bytes)
    {
    }

    std::optional<quint16> bigEndianUInt16() { return take<quint16>(); }
    std::optional<quint32> bigEndianUInt32() { return take<quint32>(); }
    std::optional<float> bigEndianFloat32()
    {
        const std::optional<quint32> bits = take<quint32>();
        return bits ? std::optional<float>(std::bit_cast<float>(*bits)) : std::nullopt;
    }
    std::optional<QByteArrayView> bytes(qsizetype count)
    {
        if (count < 0 || count > data.size() - pos)
            return std::nullopt;
        const QByteArrayView view = data.sliced(pos, count);
        pos += count;
        return view;
    }

private:
    template<typename T>
    std::optional<T> take()
    {
        if (data.size() - pos < qsizetype(sizeof(T)))
            return std::nullopt;
        const T value = qFromBigEndian<T>(data.data() + pos);
        pos += sizeof(T);
        return value;
    }

    QByteArrayView data;
    qsizetype pos = 0;
};

// A name ends at its first zero unit; a name that is not valid UTF-16 counts
// as no name and is then named by its code.
QString decodeName(QByteArrayView units)
{
    QStringDecoder decoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::ConvertInitialBom);
    QString name = decoder(units);
    if (decoder.hasError())
        return {};
    const qsizetype zero = name.indexOf(QChar(0));
    if (zero >= 0)
        name.truncate(zero);
    return name;
}

double unit(float v) { return std::clamp(static_cast<double>(v), 0.0, 1.0); }

std::optional<Color> colourOf(QByteArrayView model, const float* v)
{
    if (model == "RGB ")
        return Color(unit(v[0]), unit(v[1]), unit(v[2]), ColorSpace::sRGB());
    if (model == "CMYK")
        return sRGBFromCMYK(unit(v[0]), unit(v[1]), unit(v[2]), unit(v[3]));
    if (model == "LAB ") // L* is stored as a fraction of 100, a* and b* as they are
        return ColorSpace::fromLabD50(100.0 * v[0], v[1], v[2]);
    return Color(unit(v[0]), unit(v[0]), unit(v[0]), ColorSpace::sRGB()); // "Gray"
}

int valueCount(QByteArrayView model)
{
    if (model == "RGB " || model == "LAB ")
        return 3;
    if (model == "CMYK")
        return 4;
    return model == "Gray" ? 1 : 0;
}

struct Swatch
{
    QString name;
    std::optional<Color> color; // none for a model this reader does not know
    QString damage;
};

// One colour entry, read from the bytes of its own block only: a name length
// or a model that lies cannot reach into the next block. The colour type
// after the values is of no use here, so a block without it still counts.
Swatch readSwatch(QByteArrayView body)
{
    Bigendian in(body);
    Swatch swatch;
    const std::optional<quint16> units = in.bigEndianUInt16();
    const std::optional<QByteArrayView> name = units ? in.bytes(2 * qsizetype(*units)) : std::nullopt;
    const std::optional<QByteArrayView> model = name ? in.bytes(4) : std::nullopt;
    if (!model) {
        swatch.damage = QStringLiteral("its name runs past the end of the block");
        return swatch;
    }
    swatch.name = decodeName(*name);
    float values[4] = {0, 0, 0, 0};
    const int count = valueCount(*model);
    for (int i = 0; i < count; ++i) {
        const std::optional<float> value = in.bigEndianFloat32();
        if (!value) {
            swatch.damage = QStringLiteral("its colour values run past the end of the block");
            return swatch;
        }
        // NaN would pass any clamp as NaN and turn into an arbitrary code.
        if (!std::isfinite(*value)) {
            swatch.damage = QStringLiteral("a colour value is not a finite number");
            return swatch;
        }
        values[i] = *value;
    }
    if (count > 0) {
        swatch.color = colourOf(*model, values);
        if (!swatch.color)
            swatch.damage = QStringLiteral("its Lab colour cannot be converted");
    }
    return swatch;
}

QString codeName(const Color& color)
{
    const auto digits = [](double c) { return static_cast<int>(c * 255.0); }; // truncated, not rounded
    return QString::asprintf("#%02X%02X%02X", digits(color.red()), digits(color.green()), digits(color.blue()));
}

// Unique keys: the name itself, else "name 1", "name 2"... The next number
// to try is kept per name, so a file of one name repeated a million times
// costs a million lookups, not half a million million.
class KeyRule
{
public:
    QString keyFor(const QString& name)
    {
        QString key = name;
        if (taken.contains(key)) {
            qsizetype& n = nextNumber[name];
            do
                key = name + QStringLiteral(" %1").arg(++n);
            while (taken.contains(key));
        }
        taken.insert(key);
        return key;
    }

private:
    QSet<QString> taken;
    QHash<QString, qsizetype> nextNumber;
};

void appendUInt16(QByteArray& out, quint16 v)
{
    const quint16 be = qToBigEndian(v);
    out.append(reinterpret_cast<const char*>(&be), 2);
}

void appendUInt32(QByteArray& out, quint32 v)
{
    const quint32 be = qToBigEndian(v);
    out.append(reinterpret_cast<const char*>(&be), 4);
}

// The name-length field and the block length are computed from the same
// units, so the two always agree. A name longer than the field can count is
// cut short, never in the middle of a surrogate pair.
QByteArray nameField(const QString& name)
{
    qsizetype units = std::min(name.size(), maximumNameUnits);
    if (units > 0 && units < name.size() && name[units - 1].isHighSurrogate())
        --units;
    QByteArray field;
    appendUInt16(field, static_cast<quint16>(units + 1));
    for (qsizetype i = 0; i < units; ++i)
        appendUInt16(field, name[i].unicode());
    appendUInt16(field, 0);
    return field;
}

void appendBlock(QByteArray& out, quint16 type, const QByteArray& body)
{
    appendUInt16(out, type);
    appendUInt32(out, static_cast<quint32>(body.size()));
    out += body;
}

} // namespace

PaletteReadResult readColorList(const QByteArray& bytes)
{
    if (bytes.size() > PaletteReadResult::maximumFileSize)
        return PaletteReadResult::tooLarge();
    Bigendian in(bytes);
    const std::optional<QByteArrayView> signature = in.bytes(4);
    if (!signature || *signature != "ASEF")
        return PaletteReadResult::refused(QStringLiteral("Not a ASE file (wrong header)"));

    PaletteReadResult result;
    const std::optional<QByteArrayView> version = in.bytes(4); // read and ignored
    const std::optional<quint32> count = version ? in.bigEndianUInt32() : std::nullopt;
    if (!count) {
        result.noteDamage(QStringLiteral("The file is cut short inside its header."));
        return result;
    }
    // The count only says when to stop: every block takes at least six bytes
    // of the file, so a count of four thousand million ends with the bytes.
    KeyRule keys;
    for (quint32 block = 1; block <= *count; ++block) {
        const std::optional<quint16> type = in.bigEndianUInt16();
        const std::optional<quint32> length = type ? in.bigEndianUInt32() : std::nullopt;
        const std::optional<QByteArrayView> body = length ? in.bytes(*length) : std::nullopt;
        if (!body) {
            result.noteDamage(QStringLiteral("The file is cut short: it ends after %1 of its %2 blocks.")
                                  .arg(block - 1)
                                  .arg(*count));
            break;
        }
        if (*type != colourEntry)
            continue; // groups and anything newer
        const Swatch swatch = readSwatch(*body);
        if (!swatch.damage.isEmpty()) {
            result.noteDamage(QStringLiteral("Block %1 of the file is damaged: %2.").arg(block).arg(swatch.damage));
            continue;
        }
        if (!swatch.color)
            continue;
        const QString name = swatch.name.isEmpty() ? codeName(*swatch.color) : swatch.name;
        result.colors.append({keys.keyFor(name), *swatch.color});
    }
    return result;
}

QByteArray writeColorList(const ColorList& list)
{
    QByteArray out("ASEF");
    appendUInt16(out, 1);
    appendUInt16(out, 0);
    appendUInt32(out, static_cast<quint32>(list.size() + 2));
    appendBlock(out, groupStart,
                nameField(list.name().isEmpty() ? QStringLiteral("Imported Mac Colorlist") : list.name()));
    for (const ColorList::Entry& entry : list.entries()) {
        // A colour that cannot be converted keeps its own components rather
        // than vanish from the file.
        const Color srgb = ColorSpace::convert(entry.color, ColorSpace::sRGB()).value_or(entry.color);
        QByteArray body = nameField(entry.key);
        body += "RGB ";
        for (const double c : {srgb.red(), srgb.green(), srgb.blue()})
            appendUInt32(body, std::bit_cast<quint32>(static_cast<float>(c)));
        appendUInt16(body, normalColour);
        appendBlock(out, colourEntry, body);
    }
    appendBlock(out, groupEnd, {});
    return out;
}

} // namespace AdobeSwatchExchange
