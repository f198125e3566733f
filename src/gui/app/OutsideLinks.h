#pragma once

#include <QString>
#include <QUrl>

// The addresses behind the program's outside links: feedback by mail, the
// support pages, the news page, the maker's site, and the colour-names
// project whose address is a setting.
namespace OutsideLinks {

inline constexpr auto supportAddress = "huelark@quillfen.com";
inline constexpr auto supportPage = "https://quillfen.com/huelark/support";
inline constexpr auto newsPage = "https://quillfen.com/huelark/news";
inline constexpr auto makerPage = "https://quillfen.com";

// A new mail to the support address, its subject naming the version so a
// report says what it is about.
QUrl feedbackMail(const QString& version);
QUrl supportForum();
QUrl news();
QUrl makerSite();
// The page stored under "namesGitHubRepo"; empty when that is not a web
// address, so nothing else is ever handed to the desktop to open.
QUrl namesRepository(const QString& setting);

// Hands a link to the desktop; an empty one is not opened.
void open(const QUrl& url);

} // namespace OutsideLinks
