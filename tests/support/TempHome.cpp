#include "TempHome.h"

#include <QDir>

TempHome::TempHome()
    : oldHome(qgetenv("HOME"))
    , oldConfig(qgetenv("XDG_CONFIG_HOME"))
    , oldData(qgetenv("XDG_DATA_HOME"))
    , oldCache(qgetenv("XDG_CACHE_HOME"))
{
    QDir().mkpath(configHome());
    QDir().mkpath(dataHome());
    qputenv("HOME", dir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CACHE_HOME", (dir.path() + QStringLiteral("/.cache")).toUtf8());
}

TempHome::~TempHome()
{
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    qputenv("XDG_DATA_HOME", oldData);
    qputenv("XDG_CACHE_HOME", oldCache);
}

QString TempHome::configHome() const { return dir.path() + QStringLiteral("/.config"); }
QString TempHome::dataHome() const { return dir.path() + QStringLiteral("/.local/share"); }
