#include "ColorArchive.h"

#include "ColorSpace.h"
#include "ColorSpaceRegistry.h"

#include <QtEndian>

#include <bit>
#include <cmath>
#include <cstring>

namespace {

constexpr char magic[4] = {'H', 'L', 'C', '1'};
constexpr qsizetype componentBytes = 4 * 8;

void appendDouble(QByteArray& out, double value)
{
    char bytes[8];
    qToBigEndian(std::bit_cast<quint64>(value), bytes);
    out.append(bytes, 8);
}

double readDouble(const char* bytes)
{
    return std::bit_cast<double>(qFromBigEndian<quint64>(bytes));
}

} // namespace

namespace ColorArchive {

QByteArray archive(const Color& color)
{
    const QByteArray name = color.space()->name().toUtf8().left(0xFFFF);
    QByteArray out;
    out.reserve(4 + 2 + name.size() + componentBytes);
    out.append(magic, 4);
    char length[2];
    qToBigEndian(static_cast<quint16>(name.size()), length);
    out.append(length, 2);
    out.append(name);
    // -0.0 and 0.0 are the same component; store one of them so that equal
    // colours give equal bytes.
    for (double c : {color.red(), color.green(), color.blue(), color.alpha()})
        appendDouble(out, c == 0.0 ? 0.0 : c);
    return out;
}

std::optional<Color> unarchive(QByteArrayView bytes, const ColorSpaceRegistry& registry)
{
    if (bytes.size() < 6 || std::memcmp(bytes.data(), magic, 4) != 0)
        return std::nullopt;
    const qsizetype nameLength = qFromBigEndian<quint16>(bytes.data() + 4);
    if (bytes.size() != 6 + nameLength + componentBytes)
        return std::nullopt;
    const QString name = QString::fromUtf8(bytes.data() + 6, nameLength);

    const char* components = bytes.data() + 6 + nameLength;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        v[i] = readDouble(components + 8 * i);
        if (!std::isfinite(v[i]) || v[i] < 0.0 || v[i] > 1.0)
            return std::nullopt;
    }

    ColorSpacePtr space = registry.spaceNamed(name);
    if (!space || space->model() != ColorSpace::Model::RGB)
        space = ColorSpace::sRGB();
    return Color(v[0], v[1], v[2], space);
}

Color defaultColor()
{
    return Color::fromIntegers(154, 162, 248);
}

std::optional<Color> getColorFromData(const QByteArray& bytes, const Color& fallback,
                                      const ColorSpaceRegistry& registry, const ColorSpacePtr& wellSpace)
{
    std::optional<Color> color;
    if (!bytes.isEmpty())
        color = unarchive(bytes, registry);
    return ColorSpace::convert(color.value_or(fallback), wellSpace);
}

} // namespace ColorArchive
