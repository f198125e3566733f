#pragma once

#include <QLoggingCategory>

// One logging category per subsystem, all under "huelark", so a user can
// quieten or raise one part with QT_LOGGING_RULES ("huelark.names.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcColour)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcSqlite)
Q_DECLARE_LOGGING_CATEGORY(lcHistory)
Q_DECLARE_LOGGING_CATEGORY(lcSwatches)
Q_DECLARE_LOGGING_CATEGORY(lcNames)
Q_DECLARE_LOGGING_CATEGORY(lcPalettes)
Q_DECLARE_LOGGING_CATEGORY(lcTools)
Q_DECLARE_LOGGING_CATEGORY(lcShortcut)
Q_DECLARE_LOGGING_CATEGORY(lcLogin)
