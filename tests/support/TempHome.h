#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QTemporaryDir>

// Points HOME and the XDG folders at a fresh temporary folder for as long as
// it lives, and puts the previous values back afterwards. Every test that
// reads or writes settings or data files makes one.
class TempHome
{
public:
    TempHome()
    {
        QDir().mkpath(configHome());
        QDir().mkpath(dataHome());
        for (const auto& [name, value] : folders()) {
            saved << qgetenv(name);
            qputenv(name, value.toUtf8());
        }
    }
    ~TempHome()
    {
        for (qsizetype i = 0; i < saved.size(); ++i)
            qputenv(folders()[i].first, saved[i]);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return dir.path(); }
    QString configHome() const { return dir.path() + QStringLiteral("/.config"); }
    QString dataHome() const { return dir.path() + QStringLiteral("/.local/share"); }

private:
    QList<std::pair<const char*, QString>> folders() const
    {
        return {{"HOME", path()}, {"XDG_CONFIG_HOME", configHome()}, {"XDG_DATA_HOME", dataHome()},
                {"XDG_CACHE_HOME", path() + QStringLiteral("/.cache")}};
    }

    QTemporaryDir dir;
    QList<QByteArray> saved;
};
