// Renders the main window to PNG files for the README: light and dark
// desktop themes, with every row and with a few rows, with the name field's
// completion list open, the History menu open, each pane of the preferences
// and the palettes and tool windows.
//   gui_screenshots OUTPUT_FOLDER
#include "../app/AppHarness.h"

#include "names/AutoCompletePopover.h"
#include "names/AutoCompleteTextField.h"
#include "names/DatabaseNameLookup.h"
#include "palettes/PaletteController.h"
#include "palettes/StoredPalettes.h"
#include "tools/LazyToolWindow.h"
#include "tools/RangeSlider.h"
#include "tools/ToolController.h"
#include "prefs/LazyPreferencesWindow.h"
#include "prefs/PreferencesWindowController.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QToolButton>
#include <QPainter>
#include <QPalette>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x2a, 0x2b, 0x30), base(0x1f, 0x20, 0x24), text(0xe6, 0xe6, 0xea);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Mid, QColor(0x44, 0x45, 0x4c));
    p.setColor(QPalette::Highlight, QColor(0x5b, 0x7c, 0xf0));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x70, 0x70, 0x78));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x70, 0x70, 0x78));
    return p;
}

enum class Shot { Window, Completion, Preferences, History, Palettes, Tools };

// A picture to drop on the tool window: bands of a sunset and the sea.
QImage sunset()
{
    QImage image(240, 160, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 100);
    sky.setColorAt(0, QColor(0x2b, 0x2d, 0x6e));
    sky.setColorAt(0.5, QColor(0xf2, 0x6b, 0x38));
    sky.setColorAt(1, QColor(0xf7, 0xc5, 0x6b));
    painter.fillRect(0, 0, 240, 100, sky);
    painter.fillRect(0, 100, 240, 60, QColor(0x1d, 0x5c, 0x7a));
    painter.setBrush(QColor(0xff, 0xe8, 0x9c));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(150, 95), 22, 22);
    return image;
}

// A few palettes of the user's beside the system ones, one of them a
// 250-colour gradient (shown as 100 strips).
void savePalettes(ColorListStore& store)
{
    ColorList gradient(QStringLiteral("Sunset gradient (250)"));
    for (int i = 0; i < 250; ++i)
        gradient.setColor(QString::number(i), Color::fromIntegers(255 - i / 2, 60 + i * 3 / 4, 90 + i / 3));
    store.saveColorList(gradient);
    const QList<std::pair<QString, QStringList>> lists {
        { QStringLiteral("Autumn walk"), { "e07a5f", "3d405b", "81b29a", "f2cc8f" } },
        { QStringLiteral("Brand"), { "ff6f59", "254441", "43aa8b", "b2b09b", "ef3054" } },
        { QStringLiteral("Pastels"), { "fff9be", "d6f9a5", "a9f8b7", "a5f9dd", "9dddfc", "9aa2f8", "e3bafa", "f9c6b0" } },
    };
    for (const auto& [name, codes] : lists) {
        ColorList list(name);
        for (const QString& code : codes)
            list.setColor(code, *HexCodec::colorWithHexColorString(code, ColorSpace::sRGB()));
        store.saveColorList(list);
    }
}

// A few days of picking colours: today's entries, then three earlier days,
// each with the swatch column it was picked with. The harness' clock stands
// at one day, so the pictures do not change with the day they are made on.
void recordHistory(AppHarness& h)
{
    const QStringList picked { "e07a5f", "3d405b", "81b29a", "f2cc8f", "5b7cf0", "9aa2f8", "ff6f59", "254441",
                               "43aa8b", "b2b09b", "ef3054", "f9c6b0" };
    const QList<QStringList> columns {
        { "f4f1de", "e07a5f", "3d405b", "81b29a", "f2cc8f" },
        { "ff6f59", "254441", "43aa8b", "b2b09b", "ef3054", "fff9be" },
        { "fff9be", "d6f9a5", "a9f8b7", "a5f9dd", "9dddfc", "9aa2f8", "e3bafa", "f9c6b0" },
    };
    const QList<AppHarness::Code> shown = h.stored();
    const QDateTime now = h.clock;
    for (int i = 0; i < picked.size(); ++i) {
        const int daysAgo = i < 6 ? 0 : 1 + (i - 6) / 2;
        h.clock = QDateTime(AppHarness::today.addDays(-daysAgo), QTime(9, 0)).addSecs(i * 600);
        h.setStored(columns[i % columns.size()]);
        h.store().saveHistoryItem(*HexCodec::colorWithHexColorString(picked[i], ColorSpace::sRGB()));
    }
    h.store().waitForPendingSaves();
    h.setStored(shown);
    h.clock = now;
}

// `window` with `extras` (popups it has open) where they are on the screen.
QImage composite(QWidget& window, const QList<QWidget*>& extras, int margin)
{
    QRect all = window.frameGeometry();
    for (QWidget* extra : extras)
        all = all.united(extra->geometry());
    all.adjust(0, 0, 12, margin);
    const qreal scale = window.devicePixelRatioF();
    QImage image(all.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawPixmap(window.frameGeometry().topLeft() - all.topLeft(), window.grab());
    for (QWidget* extra : extras)
        painter.drawPixmap(extra->geometry().topLeft() - all.topLeft(), extra->grab());
    return image;
}

// The window with the History menu open from its button, and the first
// entry's swatch preview beside it.
QImage windowWithHistoryMenu(MainWindow& window)
{
    window.fields.hexField->clearFocus();
    window.setFocus();
    QMenu* menu = window.historyButton->menu();
    Q_EMIT menu->aboutToShow(); // built, so that its size is known
    const QSize size = menu->sizeHint();
    const QPoint button = window.historyButton->mapToGlobal(QPoint(window.historyButton->width(), 0));
    menu->popup(button - QPoint(size.width(), size.height() + 2));
    QTest::qWait(50);
    QAction* first = menu->actions().at(0);
    menu->setActiveAction(first);
    QMenu* preview = first->menu();
    QTest::keyClick(menu, Qt::Key_Right);
    QTest::qWait(50);
    const QImage image = composite(window, { menu, preview }, 12);
    preview->hide();
    menu->hide();
    return image;
}

bool render(const QString& path, bool dark, const QStringList& hiddenRows, const QString& hex, Shot shot = Shot::Window,
            const QString& typed = QString())
{
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    // As on the offscreen platform; no palettes installed on the system.
    QTemporaryDir systemData;
    qputenv("XDG_DATA_DIRS", systemData.path().toUtf8());
    AppHarness h(HarnessSetup { .trayAvailable = false, .palettes = shot == Shot::Palettes });
    if (shot == Shot::Tools)
        h.withStores = [&h](AppParts& parts) { parts.buildTools(h.settings(), h.registry(), h.notifications()); };
    if (shot == Shot::Preferences)
        h.withStores = [&h](AppParts& parts) { parts.buildPreferences(h.settings(), h.registry(), h.notifications()); };
    for (const QString& key : hiddenRows)
        h.settings().setBool(false, key);
    DatabaseNameLookup* lookup = nullptr;
    AppDelegate& delegate = h.start([&](AppParts& parts) {
        auto names = std::make_unique<DatabaseNameLookup>(h.settings());
        lookup = names.get();
        parts.names = std::move(names);
    });
    if (shot == Shot::History) {
        lookup->createSupportFolderAndNamesDatabase();
        recordHistory(h);
    }
    MainWindow& window = delegate.window();
    if (!hex.isEmpty()) {
        delegate.fieldSync().setSwatchFromHEXValue(hex, true);
        delegate.fieldSync().setValuesFromSwatch();
    }
    window.resize(window.sizeHint());
    QTest::qWait(50);
    bool saved = false;
    if (shot == Shot::Preferences) {
        // `typed` names the pane.
        delegate.openPrefs();
        h.notifications().postNotification(QStringLiteral("changePrefsTab"), {}, { { QStringLiteral("tab"), typed } });
        auto* preferences = dynamic_cast<LazyPreferencesWindow*>(delegate.appParts().preferences.get());
        QWidget* prefs = preferences->preferencesWindowController();
        // The pointer rests on the pane, not on a toolbar button it would light up.
        QTest::mouseMove(prefs, QPoint(prefs->width() / 2, prefs->height() - 4));
        QTest::qWait(50);
        saved = prefs->grab().save(path);
    } else if (shot == Shot::History) {
        saved = windowWithHistoryMenu(window).save(path);
    } else if (shot == Shot::Tools) {
        delegate.openToolWindow();
        auto* tools = dynamic_cast<LazyToolWindow*>(delegate.appParts().tools.get());
        ToolController* controller = tools->toolController();
        QSignalSpy shown(controller, &ToolController::dropShown);
        controller->extractDrop({ {}, sunset(), {} });
        shown.wait(5000);
        controller->slider->setStart(1);
        QTest::qWait(50);
        saved = controller->grab().save(path);
    } else if (shot == Shot::Palettes) {
        savePalettes(*delegate.appParts().colorLists);
        auto* palettes = dynamic_cast<StoredPalettes*>(delegate.appParts().palettes.get());
        palettes->openPalettesWindow();
        PaletteController* controller = palettes->paletteController();
        controller->resize(380, 470);
        controller->selectNames({ QStringLiteral("Pastels") });
        QTest::qWait(50);
        saved = controller->grab().save(path);
    } else if (shot == Shot::Completion) {
        QApplication::setActiveWindow(&window);
        AutoCompleteTextField* field = window.nameField();
        field->setFocus(Qt::MouseFocusReason);
        QTest::qWait(20);
        field->selectAll();
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Down);
        QTest::qWait(50);
        QWidget* popover = field->autoCompletePopover;
        saved = composite(window, popover->isVisible() ? QList<QWidget*> { popover } : QList<QWidget*> {}, 0).save(path);
    } else {
        window.fields.hexField->clearFocus();
        window.setFocus();
        saved = window.grab().save(path);
    }
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(out);
    const QStringList few { QStringLiteral("showHSB"), QStringLiteral("showLab"), QStringLiteral("showCMYK") };
    bool ok = true;
    ok &= render(out + "/main-light.png", false, {}, {});
    ok &= render(out + "/main-dark.png", true, {}, QStringLiteral("2d3142"));
    ok &= render(out + "/main-light-few-rows.png", false, few, QStringLiteral("f4d35e"));
    ok &= render(out + "/main-dark-few-rows.png", true, few, QStringLiteral("1b998b"));
    ok &= render(out + "/completion-light.png", false, few, QString(), Shot::Completion, QStringLiteral("peri"));
    ok &= render(out + "/completion-dark.png", true, few, QStringLiteral("2d3142"), Shot::Completion, QStringLiteral("midnight"));
    ok &= render(out + "/history-light.png", false, few, QStringLiteral("e07a5f"), Shot::History);
    ok &= render(out + "/history-dark.png", true, few, QStringLiteral("3d405b"), Shot::History);
    const QString general = QStringLiteral("GeneralPreferences_en");
    ok &= render(out + "/prefs-general-light.png", false, {}, QString(), Shot::Preferences, general);
    ok &= render(out + "/prefs-general-dark.png", true, {}, QString(), Shot::Preferences, general);
    ok &= render(out + "/prefs-display-light.png", false, {}, QString(), Shot::Preferences, "DisplayPreferences_en");
    ok &= render(out + "/names-light.png", false, {}, QString(), Shot::Preferences, "NamesPreferences_en");
    ok &= render(out + "/names-dark.png", true, {}, QString(), Shot::Preferences, "NamesPreferences_en");
    ok &= render(out + "/prefs-converter-light.png", false, {}, QString(), Shot::Preferences, "ConverterPreferences_en");
    ok &= render(out + "/prefs-updates-light.png", false, {}, QString(), Shot::Preferences, "UpdatePreferences_en");
    ok &= render(out + "/prefs-about-light.png", false, {}, QString(), Shot::Preferences, "AboutPreferences_en");
    ok &= render(out + "/palettes-light.png", false, {}, QString(), Shot::Palettes);
    ok &= render(out + "/palettes-dark.png", true, {}, QString(), Shot::Palettes);
    ok &= render(out + "/tools-light.png", false, {}, QStringLiteral("e07a5f"), Shot::Tools);
    ok &= render(out + "/tools-dark.png", true, {}, QStringLiteral("5b7cf0"), Shot::Tools);
    return ok ? 0 : 1;
}
