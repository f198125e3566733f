#include "NamesPreferencesWindow.h"

#include "prefs/NamesPreferencesViewController.h"

#include <QIcon>
#include <QShortcut>
#include <QVBoxLayout>

NamesPreferencesWindow::NamesPreferencesWindow(NamesDatabaseUpdater& updater, UserDefaults& defaults, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Colour Names"));
    setWindowIcon(QIcon(QStringLiteral(":/menu")));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    namesPane = new NamesPreferencesViewController(updater, defaults, this);
    layout->addWidget(namesPane);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void NamesPreferencesWindow::showAndRaise()
{
    show();
    raise();
    activateWindow();
}
