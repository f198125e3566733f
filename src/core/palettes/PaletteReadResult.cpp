#include "PaletteReadResult.h"

PaletteReadResult PaletteReadResult::tooLarge()
{
    return refused(QStringLiteral("The file is larger than %1 MB: too large for a palette.")
                       .arg(maximumFileSize / (1024 * 1024)));
}

PaletteReadResult PaletteReadResult::refused(const QString& error)
{
    PaletteReadResult result;
    result.error = error;
    return result;
}
