#include "UserDefaults.h"

#include "Log.h"

#include "Paths.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>
#include <limits>
#include <optional>

// The built-in defaults live in the static core library; without an explicit
// reference the linker would drop them from every program.
static void initCoreResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(core);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

// QSettings' INI form writes bools and numbers as bare text and gives them
// back as strings, and turns an empty list into "no value". So values are
// stored in a form that reads back exactly:
//  - bools and numbers as their text ("true", "42", "0.5"), recognised again
//    when read;
//  - a string that would be read back as a bool or a number, and every value
//    QSettings does not keep as it is (lists, maps...), wrapped in a
//    one-element list, which QSettings stores in its binary variant form;
//  - strings, bytes and date-times as QSettings writes them, since those it
//    does keep.
// Reading undoes this: a one-element list is unwrapped, text is recognised.

std::optional<QVariant> scalarFromText(const QString& text)
{
    if (text == QLatin1String("true"))
        return QVariant(true);
    if (text == QLatin1String("false"))
        return QVariant(false);

    static const QRegularExpression integer(QStringLiteral("^-?[0-9]+$"));
    if (integer.match(text).hasMatch()) {
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        if (ok)
            return QVariant(value);
        return std::nullopt; // too long for a number: it stays text
    }

    static const QRegularExpression decimal(
        QStringLiteral("^-?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][-+]?[0-9]+)?$"));
    if (decimal.match(text).hasMatch()) {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (ok && std::isfinite(value))
            return QVariant(value);
    }
    return std::nullopt;
}

QVariant wrapped(const QVariant& value)
{
    return QVariantList { value };
}

QVariant storedForm(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QString: {
        const QString text = value.toString();
        return scalarFromText(text) ? wrapped(value) : value;
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong number = value.toULongLong();
        if (number <= static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
            return QString::number(number);
        return wrapped(value);
    }
    case QMetaType::Float:
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (!std::isfinite(number))
            return wrapped(value);
        QString text = QString::number(number, 'g', QLocale::FloatingPointShortest);
        // "2" would come back as an integer
        if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')))
            text += QLatin1String(".0");
        return text;
    }
    case QMetaType::QByteArray:
    case QMetaType::QDateTime:
        return value;
    default:
        return wrapped(value);
    }
}

QVariant valueFromStored(const QVariant& stored)
{
    if (stored.metaType().id() == QMetaType::QVariantList) {
        const QVariantList list = stored.toList();
        if (list.size() == 1)
            return list.front();
        return stored;
    }
    if (stored.metaType().id() == QMetaType::QString) {
        if (auto scalar = scalarFromText(stored.toString()))
            return *scalar;
    }
    return stored;
}

} // namespace

QString UserDefaults::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + Paths::applicationIdentifier() + QLatin1String("/Huelark.conf");
}

UserDefaults::UserDefaults(const QString& filePath, QObject* parent)
    : QObject(parent)
    , settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
    // Keys of other programs' settings in the same file would be harmless,
    // but ours never go through the platform fallbacks.
    settings->setFallbacksEnabled(false);
}

UserDefaults::~UserDefaults() = default;

QString UserDefaults::filePath() const
{
    return settings->fileName();
}

void UserDefaults::registerDefaults(const QVariantMap& newDefaults)
{
    for (auto it = newDefaults.cbegin(); it != newDefaults.cend(); ++it)
        defaults.insert(it.key(), it.value());
}

bool UserDefaults::loadRegisteredDefaults()
{
    initCoreResources();
    QFile file(QStringLiteral(":/Defaults"));
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSettings, "built-in defaults are missing: %s", qPrintable(file.errorString()));
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qCWarning(lcSettings, "built-in defaults are not a JSON object: %s", qPrintable(error.errorString()));
        return false;
    }
    registerDefaults(document.object().toVariantMap());
    return true;
}

QVariant UserDefaults::userValue(const QString& key) const
{
    if (key.isEmpty() || !settings->contains(key))
        return {};
    return valueFromStored(settings->value(key));
}

bool UserDefaults::hasUserValue(const QString& key) const
{
    return userValue(key).isValid();
}

QVariant UserDefaults::objectForKey(const QString& key) const
{
    QVariant value = userValue(key);
    if (value.isValid())
        return value;
    return defaults.value(key);
}

bool UserDefaults::boolForKey(const QString& key) const
{
    return objectForKey(key).toBool();
}

qint64 UserDefaults::integerForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    // Registered defaults come from JSON, whose numbers are all doubles.
    if (value.metaType().id() == QMetaType::Double)
        return static_cast<qint64>(value.toDouble());
    return value.toLongLong();
}

double UserDefaults::doubleForKey(const QString& key) const
{
    return objectForKey(key).toDouble();
}

QString UserDefaults::stringForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    const int type = value.metaType().id();
    if (type == QMetaType::QString)
        return value.toString();
    // Numbers read as their text, as the platform's string reader does.
    if (type == QMetaType::LongLong || type == QMetaType::Double || type == QMetaType::Int)
        return value.toString();
    return {};
}

QByteArray UserDefaults::dataForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.metaType().id() == QMetaType::QByteArray)
        return value.toByteArray();
    return {};
}

QVariantList UserDefaults::arrayForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    const int type = value.metaType().id();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList)
        return value.toList();
    return {};
}

QDateTime UserDefaults::dateForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime();
    return {};
}

void UserDefaults::store(const QString& key, const QVariant& value)
{
    if (key.isEmpty())
        return;
    const QVariant oldValue = objectForKey(key);
    if (value.isValid())
        settings->setValue(key, storedForm(value));
    else
        settings->remove(key);
    const QVariant newValue = objectForKey(key);
    if (oldValue != newValue)
        Q_EMIT valueChanged(key, oldValue, newValue);
}

void UserDefaults::setObject(const QVariant& value, const QString& key) { store(key, value); }
void UserDefaults::setBool(bool value, const QString& key) { store(key, value); }
void UserDefaults::setInteger(qint64 value, const QString& key) { store(key, value); }
void UserDefaults::setDouble(double value, const QString& key) { store(key, value); }
void UserDefaults::setString(const QString& value, const QString& key) { store(key, value); }
void UserDefaults::setData(const QByteArray& value, const QString& key) { store(key, value); }
void UserDefaults::setArray(const QVariantList& value, const QString& key) { store(key, value); }
void UserDefaults::setDate(const QDateTime& value, const QString& key) { store(key, value); }
void UserDefaults::removeObjectForKey(const QString& key) { store(key, QVariant()); }

bool UserDefaults::synchronize()
{
    settings->sync();
    switch (settings->status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        qCWarning(lcSettings, "cannot write the settings file %s", qPrintable(settings->fileName()));
        return false;
    case QSettings::FormatError:
        qCWarning(lcSettings, "the settings file %s is malformed", qPrintable(settings->fileName()));
        return false;
    }
    return false;
}
