#include "JsonPalette.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace JsonPalette {

namespace {

const QString nameMember = QStringLiteral("paletteName");
const QString colorsMember = QStringLiteral("colors");

} // namespace

PaletteReadResult readColorList(const QByteArray& bytes)
{
    if (bytes.size() > PaletteReadResult::maximumFileSize)
        return PaletteReadResult::tooLarge();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (document.isNull())
        return PaletteReadResult::refused(QStringLiteral("This is not a JSON file: %1 at byte %2.")
                                              .arg(parseError.errorString())
                                              .arg(parseError.offset));
    const QJsonObject object = document.object();
    const QJsonValue name = object.value(nameMember);
    const QJsonValue colors = object.value(colorsMember);
    if (!document.isObject() || !name.isString() || !colors.isArray())
        return PaletteReadResult::refused(
            QStringLiteral("This is not a palette: it needs a \"paletteName\" text and a \"colors\" list."));

    PaletteReadResult result;
    result.name = name.toString();
    const QJsonArray codes = colors.toArray();
    for (qsizetype i = 0; i < codes.size(); ++i) {
        // One "#" is the format's; the codec takes whatever else a typed code
        // may hold. A code without digits is skipped, not read as black.
        QString code = codes[i].toString();
        if (code.startsWith(u'#'))
            code.remove(0, 1);
        const std::optional<Color> color =
            codes[i].isString() && HexCodec::isValidHEX(code)
                ? HexCodec::colorWithHexColorString(code, ColorSpace::sRGB())
                : std::nullopt;
        if (color)
            result.colors.append({QString(), *color});
    }
    return result;
}

QByteArray writeColorList(const ColorList& list)
{
    QJsonArray codes;
    for (const ColorList::Entry& entry : list.entries()) {
        // Codes in the file are sRGB whatever space the window holds colours
        // in, as every reader of a hex code assumes.
        codes.append(u'#' + HexCodec::keyForColor(entry.color, ColorSpace::sRGB()));
    }
    const QJsonObject object {{nameMember, list.name()}, {colorsMember, codes}};
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

} // namespace JsonPalette
