#include "Log.h"

Q_LOGGING_CATEGORY(lcApp, "huelark.app")
Q_LOGGING_CATEGORY(lcColour, "huelark.colour")
Q_LOGGING_CATEGORY(lcSettings, "huelark.settings")
Q_LOGGING_CATEGORY(lcSqlite, "huelark.sqlite")
Q_LOGGING_CATEGORY(lcHistory, "huelark.history")
Q_LOGGING_CATEGORY(lcSwatches, "huelark.swatches")
Q_LOGGING_CATEGORY(lcNames, "huelark.names")
Q_LOGGING_CATEGORY(lcPalettes, "huelark.palettes")
Q_LOGGING_CATEGORY(lcTools, "huelark.tools")
Q_LOGGING_CATEGORY(lcShortcut, "huelark.shortcut")
Q_LOGGING_CATEGORY(lcLogin, "huelark.login")
