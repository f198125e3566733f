#include "HistoryMenu.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "controls/AppearanceColors.h"
#include "history/DayFormat.h"
#include "history/EntryMenu.h"
#include "history/HistoryStore.h"
#include "history/HistorySwatchView.h"
#include "history/TitleSeparator.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"
#include "swatches/CurrentColors.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidgetAction>

#include <cmath>

namespace {

constexpr int chipSize = 16;
constexpr qreal chipRadius = 4;

// Menu texts treat "&" as the mark of a shortcut letter.
QString menuText(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}


} // namespace

HistoryMenu::HistoryMenu(HistoryStore& store, CurrentColors& colors, UserDefaults& defaults, Options options,
                         QObject* parent)
    : QObject(parent)
    , store(store)
    , colors(colors)
    , defaults(defaults)
    , options(std::move(options))
    , historyMenu(std::make_unique<EntryMenu>(tr("History")))
{
    historyMenu->setObjectName(QStringLiteral("historyMenu"));
    historyMenu->setToolTipsVisible(true);
    connect(historyMenu.get(), &QMenu::aboutToShow, this, [this] { menuNeedsUpdate(historyMenu.get()); });
}

HistoryMenu::~HistoryMenu() = default;

QMenu* HistoryMenu::menu() const
{
    return historyMenu.get();
}

ColorSpacePtr HistoryMenu::wellSpace() const
{
    return colors.wellSpace();
}

// ---- building

void HistoryMenu::menuNeedsUpdate(QMenu* menu)
{
    menu->clear();
    qDeleteAll(menu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));

    const QString today = DayFormat::dayString(options.today ? options.today() : QDate::currentDate());
    QStringList days = DayFormat::sortedNewestFirst(store.dateManagedObjectArray());
    if (days.removeOne(today)) {
        // One more than shown tells whether "Earlier Today" is needed.
        const QList<HistoryEntry> newest = store.historyForDateObjects(today, shownToday + 1);
        for (qsizetype i = 0; i < std::min<qsizetype>(newest.size(), shownToday); ++i)
            menu->addAction(createMenuItemForObject(newest[i], menu));
        if (newest.size() > shownToday) {
            menu->addSeparator();
            addDaySubmenu(menu, tr("Earlier Today"), today, newest[shownToday - 1]);
        }
    }
    for (const QString& day : std::as_const(days))
        addDaySubmenu(menu, day, day);

    auto* clear = new QAction(QIcon::fromTheme(QStringLiteral("user-trash")), tr("Clear History..."), menu);
    if (!menu->isEmpty()) {
        menu->addSeparator();
        connect(clear, &QAction::triggered, this, &HistoryMenu::clearHistory);
    } else {
        clear->setEnabled(false);
    }
    menu->addAction(clear);
}

QMenu* HistoryMenu::addDaySubmenu(QMenu* parent, const QString& title, const QString& day,
                                  const std::optional<HistoryEntry>& lastShown)
{
    auto* submenu = new EntryMenu(menuText(title), parent);
    submenu->setToolTipsVisible(true);
    parent->addMenu(submenu);
    // Filled when it first opens: a day's entries are read only if asked for.
    connect(submenu, &QMenu::aboutToShow, this, [this, submenu, day, lastShown] {
        if (!submenu->isEmpty())
            return;
        QList<HistoryEntry> entries;
        if (lastShown) {
            // The history timer may have recorded entries since the menu was
            // built; they push today's shown ones down. Continue after the
            // last one shown wherever it is now, so none is listed twice.
            entries = store.historyForDateObjects(day, -1, shownToday - 1);
            const qsizetype at = entries.indexOf(*lastShown);
            const qsizetype skip = at >= 0 ? at + 1 : 1; // gone: where it stood
            entries.remove(0, std::min(skip, entries.size()));
        } else {
            entries = store.historyForDateObjects(day);
        }
        for (const HistoryEntry& entry : std::as_const(entries))
            submenu->addAction(createMenuItemForObject(entry, submenu));
    });
    return submenu;
}

QAction* HistoryMenu::createMenuItemForObject(const HistoryEntry& entry, QMenu* parent)
{
    auto* item = new QAction(imageForMenuItem(entry), menuText(titleForMenuItem(entry)), parent);
    item->setToolTip(QLocale().toString(entry.saved.time(), QLocale::ShortFormat));
    item->setMenu(createMenuForObject(entry, parent));
    EntryMenu::markEntry(item);
    connect(item, &QAction::triggered, this, [this, entry] { historyItemClicked(entry); });
    return item;
}

QMenu* HistoryMenu::createMenuForObject(const HistoryEntry& entry, QMenu* parent)
{
    auto* preview = new EntryPreviewMenu(parent);
    // The strip is drawn when the preview first opens.
    connect(preview, &QMenu::aboutToShow, this, [this, preview, entry] {
        if (!preview->isEmpty())
            return;
        // The strip with the breathing room of a menu item around it.
        auto* item = new QWidget;
        auto* layout = new QVBoxLayout(item);
        layout->setContentsMargins(2, 6, 2, 6);
        auto* view = new HistorySwatchView([this] { return wellSpace(); }, item);
        view->setColorArray(entry.colors);
        layout->addWidget(view);
        auto* strip = new QWidgetAction(preview);
        strip->setDefaultWidget(item);
        // Shown where a desktop draws the tray's menu itself and cannot show
        // the strip; read out by screen readers.
        strip->setText(tr("Restore This Colour"));
        connect(strip, &QAction::triggered, this, [this, entry] { historyItemClicked(entry); });
        connect(view, &HistorySwatchView::clicked, this, [this, entry] {
            EntryMenu::closeAllMenus();
            historyItemClicked(entry);
        });
        preview->addAction(strip);
    });
    return preview;
}

QString HistoryMenu::titleForMenuItem(const HistoryEntry& entry) const
{
    const ColorSpacePtr space = wellSpace();
    const Color last = ColorSpace::convert(entry.last, space).value_or(entry.last);
    const auto [r, g, b] = last.integerComponents();
    const QString code = HexCodec::displayedForm(HexCodec::storedForm(r, g, b),
                                                 defaults.boolForKey(DefaultsKeys::showHexUnit),
                                                 defaults.boolForKey(DefaultsKeys::lowerCaseHEX));
    return entry.name + titleSeparator(QApplication::font("QMenu")) + code;
}

QIcon HistoryMenu::imageForMenuItem(const HistoryEntry& entry) const
{
    const QColor color = AppearanceColors::onScreen(ColorSpace::convert(entry.last, wellSpace()).value_or(entry.last));
    QIcon icon;
    qreal screenRatio = 1;
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        screenRatio = app->devicePixelRatio();
    for (const qreal ratio : { 1.0, 2.0, screenRatio }) {
        const QImage chip = chipImage(color, ratio);
        icon.addPixmap(QPixmap::fromImage(chip));
    }
    return icon;
}

QImage HistoryMenu::chipImage(const QColor& color, qreal ratio)
{
    const int side = int(std::round(chipSize * ratio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(color);
    return roundCorners(image);
}

QImage HistoryMenu::roundCorners(const QImage& image)
{
    QImage rounded(image.size(), QImage::Format_ARGB32_Premultiplied);
    rounded.setDevicePixelRatio(image.devicePixelRatio());
    rounded.fill(Qt::transparent);
    QPainter painter(&rounded);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The shape first, smoothed; the image then takes its coverage.
    QPainterPath shape;
    shape.setFillRule(Qt::OddEvenFill);
    shape.addRoundedRect(QRectF(0, 0, chipSize, chipSize), chipRadius, chipRadius);
    painter.fillPath(shape, Qt::black);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.drawImage(QPointF(0, 0), image);
    return rounded;
}

// ---- choosing

void HistoryMenu::historyItemClicked(const HistoryEntry& entry)
{
    colors.handOver(entry.last, entry.colors);
}

void HistoryMenu::clearHistory()
{
    if (confirmClearHistory())
        store.deleteAllHistory();
}

bool HistoryMenu::confirmClearHistory() const
{
    // The whole log of every day goes, with no way back: ask first, and
    // make keeping it the answer Return gives.
    QMessageBox box(QMessageBox::Warning, tr("Clear History"), tr("Clear the whole history?"), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setInformativeText(tr("Every recorded colour of every day is deleted. This cannot be undone."));
    QPushButton* clear = box.addButton(tr("Clear History"), QMessageBox::DestructiveRole);
    QPushButton* keep = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == clear;
}
