#include "CodeStrings.h"

namespace CodeStrings {

QString code(ColorClass colorClass, const QString& red, const QString& green, const QString& blue, bool useObjCSyntax)
{
    const QString name = colorClass == ColorClass::NSColor ? QStringLiteral("NSColor") : QStringLiteral("UIColor");
    const QString pattern = useObjCSyntax ? QStringLiteral("[%1 colorWithRed:%2/255.0 green:%3/255.0 blue:%4/255.0 alpha:1.0]")
                                          : QStringLiteral("%1(red:%2/255.0, green:%3/255.0, blue:%4/255.0, alpha:1.0)");
    return pattern.arg(name, red, green, blue);
}

} // namespace CodeStrings
