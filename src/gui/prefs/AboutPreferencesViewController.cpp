#include "AboutPreferencesViewController.h"

#include "app/OutsideLinks.h"
#include "prefs/PreferencesWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

struct Credit
{
    const char* name;
    const char* link;
    const char* role;
};

// Only these addresses are ever opened from the pane.
const Credit creditList[] = {
    { "Qt", "https://www.qt.io", QT_TRANSLATE_NOOP("AboutPreferencesViewController", "windows and controls") },
    { "LittleCMS", "https://www.littlecms.com", QT_TRANSLATE_NOOP("AboutPreferencesViewController", "colour management") },
    { "SQLite", "https://sqlite.org", QT_TRANSLATE_NOOP("AboutPreferencesViewController", "history and names databases") },
    { "libplist", "https://libimobiledevice.org", QT_TRANSLATE_NOOP("AboutPreferencesViewController", "colour-list files") },
    { "libjpeg-turbo", "https://libjpeg-turbo.org", QT_TRANSLATE_NOOP("AboutPreferencesViewController", "JPEG images") },
};

} // namespace

AboutPreferencesViewController::AboutPreferencesViewController(QWidget* parent)
    : PreferencesPane(parent)
{
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/menu")).pixmap(64, 64));
    icon->setAccessibleName(tr("Huelark"));
    auto* name = new QLabel(QStringLiteral("Huelark"), this);
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setWeight(QFont::DemiBold);
    name->setFont(large);
    versionLabel = new QLabel(tr("Version %1").arg(QStringLiteral(HUELARK_VERSION)), this);
    versionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    versionLabel->setProperty("muted", true);

    credits = new QLabel(this);
    credits->setWordWrap(true);
    credits->setTextFormat(Qt::RichText);
    credits->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    credits->setFocusPolicy(Qt::StrongFocus);
    connect(credits, &QLabel::linkActivated, this, [](const QString& link) {
        // Only links the pane wrote reach the desktop.
        const QUrl url(link, QUrl::StrictMode);
        if (url.scheme() == QLatin1String("https"))
            OutsideLinks::open(url);
    });

    siteButton = new QPushButton(tr("Visit quillfen.com"), this);
    siteButton->setAutoDefault(false);
    siteButton->setToolTip(tr("Opens the maker's site in your web browser"));
    connect(siteButton, &QPushButton::clicked, this, [] { OutsideLinks::open(OutsideLinks::makerSite()); });

    auto* heading = new QVBoxLayout;
    heading->setSpacing(2);
    heading->addWidget(name);
    heading->addWidget(versionLabel);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(heading, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(siteButton);
    buttonRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(14);
    layout->addLayout(top);
    layout->addWidget(credits);
    layout->addLayout(buttonRow);
    layout->addStretch(1);
    applyColors();
}

QString AboutPreferencesViewController::identifier() const
{
    return PreferencesWindow::aboutPaneIdentifier();
}

QIcon AboutPreferencesViewController::toolbarItemImage() const
{
    return themeIcon(QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation);
}

void AboutPreferencesViewController::applyColors()
{
    PreferencesPane::applyColors();
    showCredits();
}

void AboutPreferencesViewController::showCredits()
{
    if (!credits)
        return;
    const QString color = readableLinkColor(palette()).name();
    const auto link = [&color](const QString& url, const QString& text) {
        return QStringLiteral("<a href=\"%1\" style=\"color: %3\">%2</a>").arg(url, text.toHtmlEscaped(), color);
    };
    QString html = QStringLiteral("<p>%1</p><ul style=\"margin-left: -24px\">").arg(tr("Huelark is built on:").toHtmlEscaped());
    for (const Credit& credit : creditList)
        html += QStringLiteral("<li>%1 — %2</li>")
                    .arg(link(QLatin1String(credit.link), QLatin1String(credit.name)),
                         tr(credit.role).toHtmlEscaped());
    html += QStringLiteral("</ul><p>%1</p>")
                .arg(tr("Colour names from %1 by David Aerne, under the %2.")
                         .arg(link(QStringLiteral("https://github.com/meodai/color-names"), QStringLiteral("color-names")),
                              link(QStringLiteral("https://github.com/meodai/color-names/blob/main/LICENSE"),
                                   tr("MIT licence"))));
    html += QStringLiteral("<p>%1</p>").arg(tr("© The Huelark developers. Free software under the MIT licence.").toHtmlEscaped());
    credits->setText(html);
}
