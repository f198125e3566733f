#include "OutsideLinks.h"

#include <QDesktopServices>

#include <QUrlQuery>

namespace OutsideLinks {

QUrl feedbackMail(const QString& version)
{
    QUrl mail;
    mail.setScheme(QStringLiteral("mailto"));
    mail.setPath(QLatin1String(supportAddress));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Huelark feedback v%1").arg(version));
    mail.setQuery(query);
    return mail;
}

QUrl supportForum() { return QUrl(QLatin1String(supportPage)); }

QUrl news() { return QUrl(QLatin1String(newsPage)); }

QUrl makerSite() { return QUrl(QLatin1String(makerPage)); }

QUrl namesRepository(const QString& setting)
{
    const QUrl page(setting.trimmed(), QUrl::StrictMode);
    if (!page.isValid() || (page.scheme() != QLatin1String("https") && page.scheme() != QLatin1String("http"))
        || page.host().isEmpty())
        return {};
    return page;
}

void open(const QUrl& url)
{
    if (!url.isEmpty())
        QDesktopServices::openUrl(url);
}

} // namespace OutsideLinks
