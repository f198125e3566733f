#pragma once

#include <QString>

// Where the program keeps its files. Everything goes through QStandardPaths
// so that the XDG variables (and tests setting them) decide.
namespace Paths {

// "com.quillfen.Huelark": the folder name under the XDG config and data
// folders, and the object text of the messages to the login helper.
QString applicationIdentifier();

// The home directory the system's user database holds for the real user id.
// Unlike $HOME it cannot be redirected by the environment, which is what the
// stored `userFolder` is meant to record. Falls back to QDir::homePath() (and
// logs) only when the user database has no entry for the user.
QString realHomeDirectory();

// $XDG_DATA_HOME/com.quillfen.Huelark. Not created here: the parts that
// write into it create it when they first need it.
QString applicationSupportFolder();

} // namespace Paths
