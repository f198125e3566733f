#include "DragDropView.h"

#include "controls/AppearanceColors.h"
#include "settings/NotificationCenter.h"

#include <QDragEnterEvent>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>

namespace {

// The first image type the drag offers that the image readers here decode:
// a drag that offers SVG first and PNG next, without the SVG reader, is
// still a picture, and one that offers only an unreadable picture and its
// file is the file.
QString imageFormat(const QMimeData* data)
{
    static const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    for (const QString& format : data->formats())
        if (format.startsWith(QLatin1String("image/")) && readable.contains(format.toLatin1()))
            return format;
    return {};
}

QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

} // namespace

DragDropView::DragDropView(NotificationCenter& notifications, QWidget* parent)
    : QWidget(parent)
    , center(notifications)
{
    setAcceptDrops(true);
    setMinimumHeight(90);
}

bool DragDropView::acceptsData(const QMimeData* data)
{
    if (!data)
        return false;
    if (data->hasImage() || !imageFormat(data).isEmpty())
        return true;
    // Remote links would be downloads nobody asked for.
    const QList<QUrl> urls = data->urls();
    return !urls.isEmpty() && std::all_of(urls.cbegin(), urls.cend(), [](const QUrl& url) { return url.isLocalFile(); });
}

void DragDropView::setHighlight(bool on)
{
    lit = on;
    update();
}

void DragDropView::dragEnterEvent(QDragEnterEvent* event)
{
    validFile = acceptsData(event->mimeData()) && event->possibleActions().testFlag(Qt::CopyAction);
    setHighlight(true);
    if (validFile) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        // Taken, so that the area stays lit; refused at every move.
        event->accept();
        event->setDropAction(Qt::IgnoreAction);
    }
}

void DragDropView::dragMoveEvent(QDragMoveEvent* event)
{
    if (validFile) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void DragDropView::dragLeaveEvent(QDragLeaveEvent* event)
{
    QWidget::dragLeaveEvent(event);
    setHighlight(false);
}

void DragDropView::dropEvent(QDropEvent* event)
{
    setHighlight(false);
    const bool valid = std::exchange(validFile, true);
    if (!valid || !takeData(event->mimeData())) {
        event->ignore();
        return;
    }
    // A copy, whatever the source proposed: the files stay where they are.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

bool DragDropView::takeData(const QMimeData* data)
{
    if (!data)
        return false;
    // The picture's own bytes, decoded on the worker with its size checked.
    if (const QString format = imageFormat(data); !format.isEmpty()) {
        const QByteArray bytes = data->data(format);
        if (!bytes.isEmpty()) {
            center.postNotification(QStringLiteral("imageDropped"), {}, {{QStringLiteral("image"), bytes}});
            return true;
        }
    }
    const QStringList files = localFiles(data);
    if (files.isEmpty() && data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (image.isNull())
            return false;
        center.postNotification(QStringLiteral("imageDropped"), {}, {{QStringLiteral("image"), image}});
        return true;
    }
    if (files.isEmpty())
        return false;
    center.postNotification(QStringLiteral("fileDropped"), {}, {{QStringLiteral("files"), files}});
    return true;
}

void DragDropView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = AppearanceColors::appearanceIsDark(this);
    QColor ink = dark ? Qt::white : Qt::black;
    ink.setAlphaF(lit ? 0.5f : 0.1f);
    QPen pen(ink, 4, Qt::CustomDashLine, Qt::RoundCap, Qt::RoundJoin);
    // The dashes in line widths: 18 on, 9 off, starting 7 in.
    pen.setDashPattern({18.0 / 4, 9.0 / 4});
    pen.setDashOffset(7.0 / 4);
    painter.setPen(pen);
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    painter.drawRoundedRect(area, 10, 10);

    // A picture: a frame with a sun and a hill.
    const QRectF picture(area.center() - QPointF(18, 14), QSizeF(36, 28));
    painter.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(picture, 4, 4);
    painter.setBrush(ink);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(picture.left() + 10, picture.top() + 9), 3.5, 3.5);
    QPainterPath hill;
    hill.moveTo(picture.left() + 4, picture.bottom() - 4);
    hill.lineTo(picture.left() + 15, picture.top() + 14);
    hill.lineTo(picture.left() + 22, picture.top() + 20);
    hill.lineTo(picture.left() + 26, picture.top() + 16);
    hill.lineTo(picture.right() - 4, picture.bottom() - 4);
    hill.closeSubpath();
    painter.drawPath(hill);
}
