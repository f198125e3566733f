#pragma once

#include <QString>
#include <QTemporaryDir>

// Points HOME and the XDG folders at a fresh temporary folder for as long as
// it lives, and puts the previous values back afterwards. Every test that
// reads or writes settings or data files makes one.
class TempHome
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return dir.path(); }
    QString configHome() const;
    QString dataHome() const;

private:
    QTemporaryDir dir;
    QByteArray oldHome, oldConfig, oldData, oldCache;
};
