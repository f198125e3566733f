#pragma once

#include <QString>

// The keys of the user's settings file and of the built-in defaults.
namespace DefaultsKeys {

inline const QString showUnits = QStringLiteral("showUnits");
inline const QString showHexUnit = QStringLiteral("showHexUnit");
inline const QString lowerCaseHEX = QStringLiteral("lowerCaseHEX");
inline const QString useObjCSyntax = QStringLiteral("useObjCSyntax");
inline const QString colorSpace = QStringLiteral("colorSpace");
inline const QString CMYKcolorSpace = QStringLiteral("CMYKcolorSpace");
inline const QString color_last = QStringLiteral("color_last");
inline const QString currentColors = QStringLiteral("currentColors");
inline const QString showInMenu = QStringLiteral("showInMenu");
inline const QString hideDock = QStringLiteral("hideDock");
inline const QString hideOnLaunch = QStringLiteral("hideOnLaunch");
inline const QString loginStart = QStringLiteral("loginStart");
inline const QString toggleShortcutKey = QStringLiteral("toggleShortcutKey");
inline const QString shortcutKey = QStringLiteral("shortcutKey");
inline const QString floatAboveOtherApps = QStringLiteral("floatAboveOtherApps");
inline const QString showName = QStringLiteral("showName");
inline const QString showHEX = QStringLiteral("showHEX");
inline const QString showRGB = QStringLiteral("showRGB");
inline const QString showHSL = QStringLiteral("showHSL");
inline const QString showHSB = QStringLiteral("showHSB");
inline const QString showLab = QStringLiteral("showLab");
inline const QString showCMYK = QStringLiteral("showCMYK");
inline const QString showCode = QStringLiteral("showCode");
inline const QString userFolder = QStringLiteral("userFolder");
inline const QString namesID = QStringLiteral("namesID");
inline const QString namesVersion = QStringLiteral("namesVersion");
inline const QString namesIDUpdatedDate = QStringLiteral("namesIDUpdatedDate");
inline const QString namesCountValue = QStringLiteral("namesCountValue");
inline const QString namesGitHubRepo = QStringLiteral("namesGitHubRepo");
inline const QString namesAPIHost = QStringLiteral("namesAPIHost");
inline const QString namesCDNHost = QStringLiteral("namesCDNHost");
inline const QString namesDatasetOwner = QStringLiteral("namesDatasetOwner");
inline const QString dropColors = QStringLiteral("dropColors");
inline const QString dropSliderStart = QStringLiteral("dropSliderStart");
inline const QString dropSliderEnd = QStringLiteral("dropSliderEnd");
inline const QString showDragView = QStringLiteral("showDragView");
inline const QString palettesTableSelectedRow = QStringLiteral("palettesTableSelectedRow");
inline const QString sharedColorFolders = QStringLiteral("sharedColorFolders");
inline const QString sharePalettes = QStringLiteral("sharePalettes");

} // namespace DefaultsKeys
