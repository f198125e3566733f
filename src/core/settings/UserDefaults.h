#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <memory>

class QSettings;

// The user's settings: a value the user (or the program on their behalf) has
// stored wins over a registered default, and a key with neither reads as
// false, zero or absent. Registered defaults live in memory only and are
// never written to the file.
//
// Values keep their type across a restart: a bool reads back as a bool, bytes
// as bytes, a list as the same list. Plain strings, numbers and bools stay
// readable text in the file; lists, maps and other values are stored in
// QSettings' binary variant form.
//
// Main thread only, like every setting write in the program.
class UserDefaults : public QObject
{
    Q_OBJECT

public:
    // $XDG_CONFIG_HOME/com.quillfen.Huelark/Huelark.conf
    static QString standardFilePath();

    explicit UserDefaults(const QString& filePath = standardFilePath(), QObject* parent = nullptr);
    ~UserDefaults() override;

    QString filePath() const;

    // Registered defaults are merged: a key registered again takes the newer
    // value. Registering does not emit valueChanged.
    void registerDefaults(const QVariantMap& defaults);
    // Registers the built-in ":/Defaults" resource. False (and logged) when
    // the resource is missing or is not a JSON object; nothing is registered
    // then.
    bool loadRegisteredDefaults();
    QVariantMap registeredDefaults() const { return defaults; }

    // The effective value: the user's own, or else the registered default.
    QVariant objectForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;    // a number as its text; null when absent or not text
    QByteArray dataForKey(const QString& key) const;   // empty when absent or not bytes
    QVariantList arrayForKey(const QString& key) const; // empty when absent or not a list
    QDateTime dateForKey(const QString& key) const;    // invalid when absent or not a date

    // The key has a value of its own, whatever the registered defaults say.
    // An empty string or an empty list is a value; only absence is not.
    bool hasUserValue(const QString& key) const;

    // Storing an invalid QVariant removes the key, as removeObjectForKey.
    void setObject(const QVariant& value, const QString& key);
    void setBool(bool value, const QString& key);
    void setInteger(qint64 value, const QString& key);
    void setDouble(double value, const QString& key);
    void setString(const QString& value, const QString& key);
    void setData(const QByteArray& value, const QString& key);
    void setArray(const QVariantList& value, const QString& key);
    void setDate(const QDateTime& value, const QString& key);
    void removeObjectForKey(const QString& key);

    // Writes pending changes to disk and picks up changes other processes
    // made to the file. False (and logged) when the file cannot be read or
    // written.
    bool synchronize();

Q_SIGNALS:
    // Emitted after a set or remove that changed the effective value of
    // `key`; `newValue` is the registered default after a removal. Storing
    // an equal value emits nothing.
    void valueChanged(const QString& key, const QVariant& oldValue, const QVariant& newValue);

private:
    QVariant userValue(const QString& key) const;
    void store(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> settings;
    QVariantMap defaults;
};
