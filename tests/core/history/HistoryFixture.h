#pragma once

#include "../LogLines.h"
#include "QtPrinters.h"
#include "TempHome.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "history/HistoryStore.h"
#include "settings/UserDefaults.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A history store in a throw-away home, with a clock the test sets, names
// made from the colour's code and day strings in American English, so that
// every recorded value can be predicted.
class HistoryFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        defaults = std::make_unique<UserDefaults>(home.configHome() + "/Huelark.conf");
        store = makeStore();
    }
    void TearDown() override { QLocale::setDefault(savedLocale); }

    std::unique_ptr<HistoryStore> makeStore()
    {
        HistoryStore::Options options;
        options.folder = folder();
        options.now = [this] { return clock; };
        options.closestColorName = closestName;
        return std::make_unique<HistoryStore>(*defaults, spaces, options);
    }

    QString folder() const { return home.dataHome() + "/com.quillfen.Huelark"; }

    void setSwatches(const QList<Color>& colors)
    {
        QVariantList list;
        for (const Color& c : colors)
            list << ColorArchive::archive(c);
        defaults->setArray(list, "currentColors");
    }

    // Records `color` at `when` and waits until it is on disk.
    void record(const Color& color, const QDateTime& when)
    {
        clock = when;
        store->saveHistoryItem(color);
        store->waitForPendingSaves();
    }

    static Color rgb(int r, int g, int b) { return Color::fromIntegersSingle(r, g, b); }

    const QLocale savedLocale;
    TempHome home;
    const ColorSpaceRegistry spaces { QStringList {} };
    std::unique_ptr<UserDefaults> defaults;
    QDateTime clock = QDateTime(QDate(2026, 12, 6), QTime(14, 3, 5, 120));
    // How the store names an entry; set before SetUp to name them otherwise.
    std::function<QString(const Color&)> closestName = [](const Color& color) {
        return "name of " + HexCodec::hexCodeForColor(color, ColorSpace::sRGB()).value_or("?");
    };
    std::unique_ptr<HistoryStore> store;
};
