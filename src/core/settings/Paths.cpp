#include "Paths.h"

#include "Log.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace Paths {

QString applicationIdentifier()
{
    return QStringLiteral("com.quillfen.Huelark");
}

QString realHomeDirectory()
{
    long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 1024);
    passwd entry {};
    passwd* found = nullptr;
    int error = 0;
    // Entries with long fields (NSS directories) can outgrow the suggested
    // size; grow until they fit, within reason.
    while ((error = getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE
           && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);

    if (error == 0 && found && found->pw_dir && found->pw_dir[0] != '\0')
        return QFile::decodeName(found->pw_dir);

    static bool logged = false;
    if (!logged) {
        logged = true;
        qCWarning(lcSettings, "no user database entry for uid %u; using the home folder of the environment",
                  static_cast<unsigned>(getuid()));
    }
    return QDir::homePath();
}

QString applicationSupportFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/')
        + applicationIdentifier();
}

} // namespace Paths
