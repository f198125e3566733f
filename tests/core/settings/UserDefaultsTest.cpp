#include "FileBytes.h"
#include "TempHome.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"
#include "settings/FirstStartValues.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"

#include <QDebug>
#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <tuple>
#include <vector>

// Readable failure messages for values of any type.
void PrintTo(const QVariant& value, std::ostream* out)
{
    QString text;
    QDebug(&text) << value;
    *out << text.toStdString();
}

namespace {

struct Change
{
    QString key;
    QVariant oldValue, newValue;
    bool operator==(const Change&) const = default;
};

void PrintTo(const Change& change, std::ostream* out)
{
    *out << change.key.toStdString() << ": ";
    PrintTo(change.oldValue, out);
    *out << " -> ";
    PrintTo(change.newValue, out);
}

const std::array<int, 3> newUserSwatches[] = {
    { 255, 249, 190 }, { 214, 249, 165 }, { 169, 248, 183 }, { 165, 249, 221 },
    { 157, 221, 252 }, { 154, 162, 248 }, { 227, 186, 250 }, { 249, 198, 176 },
};

void firstStart(UserDefaults& defaults, const ColorSpaceRegistry& registry, const ColorSpacePtr& wellSpace)
{
    FirstStartValues::initializeDefaults(defaults);
    FirstStartValues::setDefaultColors(defaults, wellSpace);
    FirstStartValues::setDefaultColorSpaces(defaults, registry);
}

// The stored swatches, decoded and converted back to sRGB integers.
std::vector<std::array<int, 3>> swatchesOf(const UserDefaults& defaults, const ColorSpaceRegistry& registry,
                                           const QString& expectedSpace)
{
    std::vector<std::array<int, 3>> result;
    for (const QVariant& archive : defaults.arrayForKey("currentColors")) {
        const std::optional<Color> color = ColorArchive::unarchive(archive.toByteArray(), registry);
        EXPECT_TRUE(color) << "swatch " << result.size();
        if (!color)
            return result;
        EXPECT_EQ(color->space()->name(), expectedSpace) << "swatch " << result.size();
        result.push_back(ColorSpace::convert(*color, ColorSpace::sRGB()).value_or(Color()).integerComponents());
    }
    return result;
}

// Each observer appends its label, so a test sees who was called in which order.
struct Recorder
{
    QStringList calls;
    NotificationCenter::Handler as(const QString& label)
    {
        return [this, label](const Notification&) { calls << label; };
    }
};

} // namespace

TEST(UserDefaults, ValuesKeepTypeAndContentAcrossARestart)
{
    QByteArray everyByte;
    for (int i = 0; i < 256; ++i)
        everyByte.append(char(i));
    const QVariantList archives { everyByte, QByteArray("HLC1\0\0", 6), QByteArray(), QByteArray("@Invalid()") };
    const QDateTime date(QDate(2023, 4, 5), QTime(6, 7, 8, 9), QTimeZone::utc());

    const std::vector<std::pair<const char*, QVariant>> rows {
        { "bool true", true },
        { "bool false", false },
        { "integer", qint64(-9007199254740993LL) },
        { "double", 0.1 },
        { "whole double", 2.0 },
        { "huge double", 1e300 },
        { "text", QString("Dusty Rose / ünïcode, \"quoted\"\nsecond line") },
        { "text like a bool", QString("true") },
        { "text like a number", QString("007") },
        { "text like a setting form", QString("@ByteArray(x)") },
        { "empty text", QString("") },
        { "bytes", everyByte },
        { "empty bytes", QByteArray() },
        { "list of archives", archives },
        { "one archive", QVariantList { everyByte } },
        { "empty list", QVariantList() },
        { "list of texts", QStringList { "a", "b" } },
        { "date", date },
        { "dictionary", QVariantMap { { "a", 1 }, { "b", QByteArray("x") } } },
    };

    TempHome home;
    UserDefaults defaults;
    for (const auto& [key, value] : rows)
        defaults.setObject(value, key);
    // QSettings keeps a per-process cache of every file it has read or
    // written, so a second instance on the same path would be served from
    // memory. A copy under a new name has to be parsed from disk.
    ASSERT_TRUE(defaults.synchronize());
    ASSERT_TRUE(QFile::copy(defaults.filePath(), home.path() + "/reopened.conf"));
    const auto reopened = std::make_unique<UserDefaults>(home.path() + "/reopened.conf");

    for (const auto& [key, value] : rows) {
        for (UserDefaults* instance : { &defaults, reopened.get() }) {
            const QVariant read = instance->objectForKey(key);
            EXPECT_STREQ(read.metaType().name(), value.metaType().name()) << key << (instance == &defaults ? "" : " after restart");
            EXPECT_EQ(read, value) << key << (instance == &defaults ? "" : " after restart");
            EXPECT_TRUE(instance->hasUserValue(key)) << key;
        }
    }
}

TEST(UserDefaults, UserValueWinsOverRegisteredDefaultAndMissingKeysReadAsNothing)
{
    TempHome home;
    UserDefaults defaults;
    defaults.registerDefaults({ { "showUnits", true }, { "namesGitHubRepo", "https://example.org" }, { "count", 3.0 } });
    EXPECT_FALSE(defaults.objectForKey("missing").isValid());
    EXPECT_TRUE(defaults.stringForKey("missing").isNull());
    EXPECT_FALSE(defaults.hasUserValue("missing"));
    EXPECT_TRUE(defaults.boolForKey("showUnits"));
    EXPECT_FALSE(defaults.hasUserValue("showUnits"));
    EXPECT_EQ(defaults.integerForKey("count"), 3);

    defaults.setBool(false, "showUnits");
    defaults.setString("", "namesGitHubRepo");
    EXPECT_FALSE(defaults.boolForKey("showUnits"));
    EXPECT_EQ(defaults.stringForKey("namesGitHubRepo"), "");
    EXPECT_TRUE(defaults.hasUserValue("namesGitHubRepo"));

    defaults.setObject(QVariant(), "showUnits"); // storing nothing removes
    EXPECT_FALSE(defaults.hasUserValue("showUnits"));
    EXPECT_TRUE(defaults.boolForKey("showUnits"));
}

TEST(UserDefaults, ReportsEachChangeOfTheEffectiveValueOnce)
{
    TempHome home;
    UserDefaults defaults;
    defaults.registerDefaults({ { "showHEX", true } });
    std::vector<Change> changes;
    QObject context;
    QObject::connect(&defaults, &UserDefaults::valueChanged, &context,
                     [&](const QString& key, const QVariant& oldValue, const QVariant& newValue) {
                         changes.push_back({ key, oldValue, newValue });
                     });

    const QVariant none;
    const std::vector<std::tuple<const char*, std::function<void()>, std::vector<Change>>> steps {
        { "new key", [&] { defaults.setInteger(5, "namesID"); }, { { "namesID", none, qint64(5) } } },
        { "equal value", [&] { defaults.setInteger(5, "namesID"); }, {} },
        { "new value", [&] { defaults.setInteger(6, "namesID"); }, { { "namesID", qint64(5), qint64(6) } } },
        { "removal", [&] { defaults.removeObjectForKey("namesID"); }, { { "namesID", qint64(6), none } } },
        { "removing nothing", [&] { defaults.removeObjectForKey("namesID"); }, {} },
        { "user value equal to the default", [&] { defaults.setBool(true, "showHEX"); }, {} },
        { "off", [&] { defaults.setBool(false, "showHEX"); }, { { "showHEX", true, false } } },
        { "back to the default", [&] { defaults.removeObjectForKey("showHEX"); }, { { "showHEX", false, true } } },
        { "empty list", [&] { defaults.setArray({}, "currentColors"); }, { { "currentColors", none, QVariantList() } } },
    };
    for (const auto& [what, action, expected] : steps) {
        changes.clear();
        action();
        EXPECT_EQ(changes, expected) << what;
    }
}

TEST(UserDefaults, FlushWritesUnderTheConfigHomeOrFails)
{
    TempHome home;
    UserDefaults defaults;
    EXPECT_EQ(defaults.filePath(), home.configHome() + "/com.quillfen.Huelark/Huelark.conf");
    defaults.setBool(true, "showInMenu");
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_TRUE(QFile::exists(defaults.filePath()));

    const QString blocker = home.path() + "/not-a-folder";
    ASSERT_TRUE(put(blocker, {}));
    UserDefaults unwritable(blocker + "/Huelark.conf");
    unwritable.setBool(true, "showInMenu");
    EXPECT_FALSE(unwritable.synchronize());
}

TEST(FirstStartValues, FirstStartWritesSwatchesCMYKSpaceAndRealHomeFolder)
{
    TempHome home; // HOME now points into a temporary folder
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    ASSERT_NE(QString(user->pw_dir), qEnvironmentVariable("HOME"));

    const ColorSpaceRegistry registry;
    {
        UserDefaults defaults;
        firstStart(defaults, registry, ColorSpace::sRGB());
    }
    // Every value was flushed: read a copy, which QSettings cannot serve from
    // its in-process cache.
    const QString copy = home.path() + "/copy.conf";
    ASSERT_TRUE(QFile::copy(UserDefaults::standardFilePath(), copy));
    UserDefaults reread(copy);

    EXPECT_EQ(reread.stringForKey("userFolder"), QString(user->pw_dir));
    EXPECT_EQ(reread.stringForKey("CMYKcolorSpace"), registry.cmykSpaces().front()->name());
    EXPECT_EQ(swatchesOf(reread, registry, ColorSpace::sRGBName),
              std::vector(std::begin(newUserSwatches), std::end(newUserSwatches)));

    // With another well space the swatches are held in that one.
    if (registry.rgbSpaces().size() < 2)
        GTEST_SKIP() << "no RGB profile installed besides sRGB";
    const ColorSpacePtr wellSpace = registry.rgbSpaces()[1];
    UserDefaults other(home.path() + "/other.conf");
    FirstStartValues::setDefaultColors(other, wellSpace);
    const auto swatches = swatchesOf(other, registry, wellSpace->name());
    ASSERT_EQ(swatches.size(), std::size(newUserSwatches));
    for (size_t i = 0; i < swatches.size(); ++i)
        for (int c = 0; c < 3; ++c) // a profile round trip may move an integer by one
            EXPECT_NEAR(swatches[i][c], newUserSwatches[i][c], 1) << "swatch " << i << " component " << c;
}

TEST(FirstStartValues, ALaterStartKeepsEveryStoredValueEvenEmptyOnes)
{
    const struct { const char* key; QVariant stored; } rows[] = {
        { "currentColors", QVariantList {} },
        { "CMYKcolorSpace", QString("") },
        { "CMYKcolorSpace", QString("Coated FOGRA39") },
        { "userFolder", QString("") },
    };
    const ColorSpaceRegistry registry;
    for (const auto& row : rows) {
        TempHome home;
        UserDefaults defaults;
        defaults.setObject(row.stored, row.key);
        firstStart(defaults, registry, ColorSpace::sRGB());
        EXPECT_EQ(defaults.objectForKey(row.key), row.stored) << row.key << " = " << row.stored.toString().toStdString();
    }
}

TEST(NotificationCenter, DeliversToMatchingObserversInRegistrationOrder)
{
    NotificationCenter center;
    QObject context;
    Recorder recorder;
    Notification received;
    center.addObserver("imageDropped", &context, recorder.as("first"));
    center.addObserver("sliderChanged", &context, recorder.as("other name"));
    center.addObserver("", &context, recorder.as("every name"));
    center.addObserver("imageDropped", &context, [&](const Notification& n) {
        received = n;
        recorder.calls << "last";
    });

    center.postNotification("imageDropped", QStringLiteral("sender"), { { "tab", "Updates" } });
    EXPECT_EQ(recorder.calls, QStringList({ "first", "every name", "last" }));
    EXPECT_EQ(received.name, "imageDropped");
    EXPECT_EQ(received.object, QVariant(QStringLiteral("sender")));
    EXPECT_EQ(received.userInfo.value("tab"), QVariant("Updates"));
}

TEST(NotificationCenter, ObserversGoByIdByContextAndWithTheirContext)
{
    NotificationCenter center;
    Recorder recorder;
    QObject keeper;
    auto window = std::make_unique<QObject>();
    auto panel = std::make_unique<QObject>();
    const auto byId = center.addObserver("n", &keeper, recorder.as("by id"));
    center.addObserver("n", &keeper, recorder.as("keeper"));
    center.addObserver("n", window.get(), recorder.as("window"));
    center.addObserver("n", panel.get(), recorder.as("panel"));
    EXPECT_EQ(center.addObserver("n", nullptr, recorder.as("no context")), 0u);

    center.removeObserver(byId);
    center.removeObserver(window.get());
    panel.reset();
    center.postNotification("n");
    EXPECT_EQ(recorder.calls, QStringList({ "keeper" }));
    EXPECT_EQ(center.observerCount(), 1);
    center.removeObserver(byId); // already gone: nothing happens
}

TEST(NotificationCenter, ChangesDuringDeliveryAreSafe)
{
    NotificationCenter center;
    Recorder recorder;
    QObject context;
    auto doomed = std::make_unique<QObject>();
    NotificationCenter::ObserverId self = 0, later = 0;

    self = center.addObserver("n", &context, [&](const Notification&) {
        recorder.calls << "removes itself";
        center.removeObserver(self);
    });
    center.addObserver("n", &context, [&](const Notification&) {
        recorder.calls << "changes the others";
        center.removeObserver(later);
        doomed.reset();
        center.addObserver("n", &context, recorder.as("added during delivery"));
    });
    later = center.addObserver("n", &context, recorder.as("removed before its turn"));
    center.addObserver("n", doomed.get(), recorder.as("context destroyed before its turn"));
    center.addObserver("n", &context, recorder.as("untouched"));

    center.postNotification("n");
    EXPECT_EQ(recorder.calls, QStringList({ "removes itself", "changes the others", "untouched" }));

    recorder.calls.clear();
    center.postNotification("n");
    EXPECT_EQ(recorder.calls.first(), "changes the others");
    EXPECT_TRUE(recorder.calls.contains("added during delivery"));
    EXPECT_FALSE(recorder.calls.contains("removes itself"));
}
