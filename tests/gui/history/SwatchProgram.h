#pragma once

#include "QtPrinters.h"
#include "../app/AppHarness.h"

#include "app/SwatchWell.h"
#include "app/WindowCommands.h"
#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "history/DayFormat.h"
#include "history/HistoryStore.h"
#include "swatches/SwatchColumn.h"
#include "swatches/SwatchTable.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QSignalSpy>

// The whole program with its real history store and swatch column in a
// throw-away home, and the ways a user reaches the column: its stored list,
// drops into its gaps, the history entries its changes record.
class SwatchProgram
{
public:
    using Code = QString; // stored-form hex code

    // Starts with `codes` as the column ("currentColors").
    void start(const QList<Code>& codes, const std::function<void(AppParts&)>& customize = {})
    {
        setStored(codes);
        h.start([&](AppParts& parts) {
            parts.history.reset(); // the real store records
            if (customize)
                customize(parts);
        });
        h.window().resize(h.window().sizeHint());
        QCoreApplication::processEvents();
    }

    void setStored(const QList<Code>& codes)
    {
        QVariantList list;
        for (const Code& code : codes)
            list << ColorArchive::archive(*HexCodec::colorWithHexColorString(code, ColorSpace::sRGB()));
        h.settings().setArray(list, "currentColors");
        h.settings().synchronize();
    }

    // "currentColors" as the next start reads it.
    QList<Code> stored()
    {
        QList<Code> codes;
        const ColorSpaceRegistry spaces { QStringList {} };
        for (const QVariant& data : h.reopenedSettings()->arrayForKey("currentColors")) {
            const std::optional<Color> color = ColorArchive::unarchive(data.toByteArray(), spaces);
            codes << (color ? HexCodec::hexCodeForColor(*color, ColorSpace::sRGB()).value_or("?") : "unreadable");
        }
        return codes;
    }

    Code current() { return HexCodec::hexCodeForColor(*h.window().mainSwatchWell->color(), ColorSpace::sRGB()).value(); }

    SwatchColumn& column() { return h.app().swatchColumn(); }
    SwatchTable& table() { return *column().swatchTable(); }
    HistoryStore& store() { return h.app().historyStore(); }

    // The newest history entry, once the writer has it on disk.
    std::optional<HistoryEntry> newestEntry()
    {
        store().waitForPendingSaves();
        const QList<HistoryEntry> today = store().historyForDateObjects(DayFormat::dayString(QDate::currentDate()), 1);
        if (today.isEmpty())
            return std::nullopt;
        return today.first();
    }
    static QList<Code> codes(const QList<Color>& colors)
    {
        QList<Code> list;
        for (const Color& c : colors)
            list << HexCodec::hexCodeForColor(c, ColorSpace::sRGB()).value_or("?");
        return list;
    }

    // A point in the gap before row `gap` (the row count: after the last).
    QPoint gapPoint(int gap)
    {
        const int count = column().swatchCount();
        if (gap < count)
            return QPoint(10, table().rowViewportPosition(gap) + 2);
        return QPoint(10, table().rowViewportPosition(count - 1) + table().rowHeight(count - 1) - 2);
    }

    // Drags `data` over the table and drops it at `point`; whether the table
    // took it.
    bool drop(QMimeData* data, const QPoint& point)
    {
        QWidget* viewport = table().viewport();
        QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(point, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        QDropEvent dropped(point, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &dropped);
        return dropped.isAccepted();
    }

    AppHarness h;
};
