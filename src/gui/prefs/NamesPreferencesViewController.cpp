#include "NamesPreferencesViewController.h"

#include "app/OutsideLinks.h"
#include "prefs/PreferencesWindow.h"
#include "names/NamesDatabaseUpdater.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>


QString NamesPreferencesViewController::identifier() const
{
    return PreferencesWindow::namesPaneIdentifier();
}

QString NamesPreferencesViewController::toolbarItemLabel() const
{
    return tr("Names");
}

QIcon NamesPreferencesViewController::toolbarItemImage() const
{
    return themeIcon(QStringLiteral("preferences-desktop-font"), QStyle::SP_FileDialogDetailedView);
}

NamesPreferencesViewController::NamesPreferencesViewController(NamesDatabaseUpdater& updater, UserDefaults& defaults,
                                                               QWidget* parent)
    : PreferencesPane(parent)
    , updater(updater)
    , defaults(defaults)
{
    namesCount = new QLabel(this);
    QFont large = namesCount->font();
    large.setPointSizeF(large.pointSizeF() * 1.25);
    large.setWeight(QFont::DemiBold);
    namesCount->setFont(large);
    namesVersion = new QLabel(this);
    auto* about = new QLabel(tr("Every colour is named after the nearest of them."), this);
    about->setProperty("muted", true);
    updatedLabel = new QLabel(this);
    updatedLabel->setWordWrap(true);
    updatedLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Wide enough for the longest status, so the pane does not change size
    // while an update runs.
    updatedLabel->setMinimumWidth(updatedLabel->fontMetrics().horizontalAdvance(
        QStringLiteral("Last Updated: 30 Sept 2026, 23:59:59 (added 99999 new Colors)")));

    downloadButton = new QPushButton(this);
    downloadButton->setAutoDefault(false);
    createDBIndicator = new QProgressBar(this);
    createDBIndicator->setRange(0, 0); // busy, no percentage
    createDBIndicator->setTextVisible(false);
    createDBIndicator->setFixedSize(72, 10);
    createDBIndicator->setAccessibleName(tr("Working"));
    QSizePolicy keepRoom = createDBIndicator->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    createDBIndicator->setSizePolicy(keepRoom);

    urlView = new QLabel(this);
    urlView->setTextFormat(Qt::RichText);
    urlView->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    urlView->setFocusPolicy(Qt::StrongFocus);
    connect(urlView, &QLabel::linkActivated, this, &NamesPreferencesViewController::openGitHubRepo);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(10);
    buttonRow->addWidget(downloadButton);
    buttonRow->addWidget(createDBIndicator);
    buttonRow->addStretch(1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(24, 20, 24, 20);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(8);
    grid->addWidget(caption(tr("Names")), 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(namesCount, 0, 1);
    grid->addWidget(about, 1, 1);
    grid->setRowMinimumHeight(2, 4);
    grid->addWidget(caption(tr("Release")), 3, 0);
    grid->addWidget(namesVersion, 3, 1);
    grid->addWidget(caption(tr("Status")), 4, 0);
    grid->addWidget(updatedLabel, 4, 1);
    grid->addLayout(buttonRow, 5, 1);
    grid->setRowMinimumHeight(6, 6);
    grid->addWidget(caption(tr("Source")), 7, 0);
    grid->addWidget(urlView, 7, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(8, 1);

    applyColors();
    bind();
}

void NamesPreferencesViewController::bind()
{
    NamesDatabaseUpdater* u = &updater;
    updatedLabel->setText(u->updatedLabel());
    connect(u, &NamesDatabaseUpdater::updatedLabelChanged, updatedLabel, &QLabel::setText);
    namesCount->setText(u->namesCount());
    connect(u, &NamesDatabaseUpdater::namesCountChanged, namesCount, &QLabel::setText);
    updateVersion();
    connect(u, &NamesDatabaseUpdater::namesVersionChanged, this, &NamesPreferencesViewController::updateVersion);
    updateButton();
    connect(u, &NamesDatabaseUpdater::buttonChanged, this, &NamesPreferencesViewController::updateButton);
    connect(downloadButton, &QPushButton::clicked, u, &NamesDatabaseUpdater::pressButton);
    createDBIndicator->setVisible(u->spinnerVisible());
    connect(u, &NamesDatabaseUpdater::spinnerVisibleChanged, createDBIndicator, &QWidget::setVisible);
    updateLink();
    connect(&defaults, &UserDefaults::valueChanged, this, [this](const QString& key) {
        if (key == DefaultsKeys::namesGitHubRepo)
            updateLink();
    });
}

void NamesPreferencesViewController::viewWillAppear()
{
    // An update that went on while the window was closed keeps its status.
    if (updater.state() == NamesDatabaseUpdater::State::Idle)
        updater.viewWillAppear();
}

void NamesPreferencesViewController::applyColors()
{
    PreferencesPane::applyColors();
    updateLink();
}

void NamesPreferencesViewController::updateButton()
{
    downloadButton->setText(updater.buttonTitle());
    downloadButton->setEnabled(updater.buttonEnabled());
}

void NamesPreferencesViewController::updateVersion()
{
    const QString version = updater.namesVersion();
    namesVersion->setText(version.isEmpty() ? tr("as shipped with Huelark") : version);
}

void NamesPreferencesViewController::updateLink()
{
    const QUrl url = OutsideLinks::namesRepository(defaults.stringForKey(DefaultsKeys::namesGitHubRepo));
    urlView->setVisible(!url.isEmpty());
    const QString shown = url.toDisplayString(QUrl::RemoveScheme | QUrl::StripTrailingSlash).mid(2);
    urlView->setText(QStringLiteral("<a href=\"%1\" style=\"color: %3\">%2</a>")
                         .arg(url.toString().toHtmlEscaped(), shown.toHtmlEscaped(),
                              readableLinkColor(palette()).name()));
    urlView->setToolTip(tr("Opens the colour-names project in your web browser"));
}

void NamesPreferencesViewController::openGitHubRepo()
{
    // The setting is read again: the link follows a change made while the
    // pane was open.
    const QUrl url = OutsideLinks::namesRepository(defaults.stringForKey(DefaultsKeys::namesGitHubRepo));
    if (!url.isEmpty())
        QDesktopServices::openUrl(url);
}
