#include "SwatchDragData.h"

#include <QMimeData>
#include <QRegularExpression>

namespace SwatchDragData {

const QString rowMimeType = QStringLiteral("application/x-huelark-swatch");

QMimeData* forRow(int row, const QByteArray& source, const QColor& color, const QString& hexCode)
{
    auto* data = new QMimeData;
    data->setData(rowMimeType, source + ' ' + QByteArray::number(row));
    data->setColorData(color);
    data->setText(hexCode);
    return data;
}

std::optional<int> sourceRow(const QMimeData* data, const QByteArray& source)
{
    if (!data || !data->hasFormat(rowMimeType))
        return std::nullopt;
    const QByteArray value = data->data(rowMimeType);
    const qsizetype space = value.lastIndexOf(' ');
    if (space < 0 || value.left(space) != source)
        return std::nullopt;
    bool ok = false;
    const int row = value.mid(space + 1).toInt(&ok);
    if (!ok || row < 0)
        return std::nullopt;
    return row;
}

std::optional<QColor> droppedColor(const QMimeData* data)
{
    if (!data)
        return std::nullopt;
    if (data->hasColor()) {
        const QColor color = qvariant_cast<QColor>(data->colorData());
        if (color.isValid())
            return color.toRgb();
    }
    if (data->hasText()) {
        static const QRegularExpression code(QStringLiteral("^#?([0-9A-Fa-f]{3}|[0-9A-Fa-f]{6})$"));
        const QRegularExpressionMatch match = code.match(data->text().trimmed());
        if (match.hasMatch()) {
            QString digits = match.captured(1);
            if (digits.size() == 3)
                digits = QString(digits[0]) + digits[0] + digits[1] + digits[1] + digits[2] + digits[2];
            return QColor(QLatin1Char('#') + digits);
        }
    }
    return std::nullopt;
}

} // namespace SwatchDragData
