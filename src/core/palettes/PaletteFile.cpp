#include "PaletteFile.h"

#include "AdobeSwatchExchange.h"
#include "ClrFormat.h"
#include "GimpPalette.h"
#include "JsonPalette.h"

#include "Log.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace PaletteFile {

std::optional<Format> formatForPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"clr")
        return Format::clr;
    if (suffix == u"ase")
        return Format::ase;
    if (suffix == u"json")
        return Format::json;
    if (suffix == u"gpl")
        return Format::gpl;
    return std::nullopt;
}

PaletteReadResult read(const QString& path)
{
    const std::optional<Format> format = formatForPath(path);
    if (!format)
        return PaletteReadResult::refused(QStringLiteral("not a palette file (.clr, .ase, .json or .gpl)"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PaletteReadResult::refused(file.errorString());
    // Checked before reading, so a huge file (or /dev/zero) is never loaded.
    if (file.size() > PaletteReadResult::maximumFileSize)
        return PaletteReadResult::tooLarge();
    const QByteArray bytes = file.read(PaletteReadResult::maximumFileSize + 1);

    PaletteReadResult result;
    switch (*format) {
    case Format::clr: result = ClrFormat::readColorList(bytes); break;
    case Format::ase: result = AdobeSwatchExchange::readColorList(bytes); break;
    case Format::json: result = JsonPalette::readColorList(bytes); break;
    case Format::gpl: result = GimpPalette::readColorList(bytes); break;
    }
    // The colour-list formats carry no name of their own: the file's name
    // is the palette's, as the user sees it in a file manager.
    if (*format == Format::clr || *format == Format::ase || result.name.isEmpty())
        result.name = QFileInfo(path).completeBaseName();
    return result;
}

QString write(const QString& path, const ColorList& list, bool replace)
{
    const std::optional<Format> format = formatForPath(path);
    if (!format)
        return QStringLiteral("not a palette file (.clr, .ase, .json or .gpl)");
    if (!replace && QFileInfo::exists(path)) {
        if (*format == Format::ase)
            qCWarning(lcPalettes).noquote()
                << QStringLiteral("Error: Output file alredy exists at %1. Refusing to overwrite").arg(path);
        return QStringLiteral("the file exists");
    }
    QByteArray bytes;
    switch (*format) {
    case Format::clr: bytes = ClrFormat::writeColorList(list); break;
    case Format::ase: bytes = AdobeSwatchExchange::writeColorList(list); break;
    case Format::json: bytes = JsonPalette::writeColorList(list); break;
    case Format::gpl: bytes = GimpPalette::writeColorList(list); break;
    }
    const QString error = writeAtomically(path, bytes);
    if (!error.isEmpty() && *format == Format::ase)
        qCWarning(lcPalettes).noquote() << QStringLiteral("Unable to create output file at %1").arg(path);
    return error;
}

QString writeAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // QSaveFile renames even when its own final flush fails (a full disk
    // after the buffer): the bytes are pushed out here, where a failure can
    // still cancel.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace PaletteFile
