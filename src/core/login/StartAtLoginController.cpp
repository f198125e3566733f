#include "StartAtLoginController.h"

#include "Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// The line that tells an entry Huelark wrote from one the user wrote.
constexpr auto ownMark = "X-Huelark-Autostart=true";

// A desktop entry's string value: backslashes doubled, line breaks escaped.
QString stringValue(QString text)
{
    return text.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"))
        .replace(QLatin1Char('\r'), QLatin1String("\\r"));
}

// One argument of an Exec line, always quoted: inside the quotes `"`, `` ` ``,
// `$` and `\` take a backslash, `%` is doubled (field codes), and the whole
// is then a string value, which doubles the backslashes once more.
QString execArgument(const QString& argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
        if (c == QLatin1Char('%'))
            quoted += c;
    }
    return QLatin1Char('"') + stringValue(quoted) + QLatin1Char('"');
}

bool writtenByHuelark(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    return lines.contains(QByteArray(ownMark));
}

} // namespace

StartAtLoginController::StartAtLoginController(const QString& helperPath) { setBundle(helperPath); }

void StartAtLoginController::setBundle(const QString& helperPath)
{
    expectedPath = helperPath;
    const QFileInfo helper(helperPath);
    const bool there = helper.isFile() && helper.isExecutable();
    helperIdentifier = there ? QLatin1String(helperName) : QString();
    helperUrl = there ? helper.absoluteFilePath() : QString();
}

QString StartAtLoginController::entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/com.quillfen.Huelark.desktop");
}

QString StartAtLoginController::installedHelper(const QString& programFolder)
{
    const QString name = QLatin1String(helperName);
    const QString installed = QDir::cleanPath(programFolder + QLatin1String("/" HUELARK_HELPER_FROM_BIN "/") + name);
    const QString built = QDir::cleanPath(programFolder + QLatin1String("/../helper/") + name);
    return !QFileInfo::exists(installed) && QFileInfo::exists(built) ? built : installed;
}

QByteArray StartAtLoginController::entryContents(const QString& helperPath)
{
    const QString text = QStringLiteral(
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Huelark\n"
        "Comment=Starts Huelark at login, its window hidden\n"
        "Icon=com.quillfen.Huelark\n"
        "TryExec=%1\n"
        "Exec=%2\n"
        "Terminal=false\n"
        "NoDisplay=true\n"
        "X-GNOME-Autostart-enabled=true\n"
        "%3\n").arg(stringValue(helperPath), execArgument(helperPath), QLatin1String(ownMark));
    return text.toUtf8();
}

bool StartAtLoginController::startAtLogin() const { return writtenByHuelark(entryPath()); }

QString StartAtLoginController::setStartAtLogin(bool flag)
{
    const QString path = entryPath();
    const bool exists = QFileInfo::exists(path);
    if (exists && !writtenByHuelark(path)) {
        qCInfo(lcLogin, "%s was written by someone else: left as it is", qPrintable(path));
        if (!flag)
            return {};
        return QStringLiteral("%1 was not written by Huelark and is left as it is. "
                              "Remove it to let Huelark start at login.").arg(QDir::toNativeSeparators(path));
    }
    // Without the helper an entry of ours could only fail at the next login.
    if (!flag || helperUrl.isEmpty()) {
        QFile entry(path);
        if (exists && !entry.remove())
            return QStringLiteral("Could not remove %1: %2.").arg(QDir::toNativeSeparators(path), entry.errorString());
        if (flag)
            return QStringLiteral("The login helper is not installed beside Huelark (%1 is missing).")
                .arg(QDir::toNativeSeparators(expectedPath));
        return {};
    }

    const QByteArray contents = entryContents(helperUrl);
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == contents)
        return {};
    current.close();
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        return QStringLiteral("Could not create the folder %1.").arg(QDir::toNativeSeparators(folder));
    QSaveFile entry(path);
    if (!entry.open(QIODevice::WriteOnly) || entry.write(contents) != contents.size() || !entry.commit())
        return QStringLiteral("Could not write %1: %2.").arg(QDir::toNativeSeparators(path), entry.errorString());
    return {};
}
