#include "PreferencesPane.h"

#include "prefs/DefaultsSwitch.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QStyleOptionButton>

PreferencesPane::PreferencesPane(QWidget* parent)
    : QWidget(parent)
{
}

bool PreferencesPane::hasResizableHeight() const
{
    return sizePolicy().verticalPolicy() & QSizePolicy::ExpandFlag;
}

QColor PreferencesPane::readableLinkColor(const QPalette& palette)
{
    const QColor link = palette.color(QPalette::Link);
    const bool dark = palette.color(QPalette::Window).lightnessF() < palette.color(QPalette::WindowText).lightnessF();
    if (!dark || link.lightnessF() >= 0.6f)
        return link;
    return QColor::fromHslF(link.hslHueF() < 0 ? 0.6f : link.hslHueF(), 0.8f, 0.7f);
}

QIcon PreferencesPane::themeIcon(const QString& themeName, QStyle::StandardPixmap fallback) const
{
    return QIcon::fromTheme(themeName, style()->standardIcon(fallback));
}

QLabel* PreferencesPane::caption(const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setProperty("muted", true);
    return label;
}

QLabel* PreferencesPane::explanation(const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setProperty("muted", true);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    label->setFont(small);
    return label;
}

void PreferencesPane::applyColors()
{
    QPalette muted = palette();
    QColor faded = muted.color(QPalette::WindowText);
    faded.setAlphaF(0.6f);
    muted.setColor(QPalette::WindowText, faded);
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->property("muted").toBool())
            label->setPalette(muted);
    }
}

void PreferencesPane::changeEvent(QEvent* event)
{
    // The desktop switched between light and dark themes; setting the
    // labels' palettes must not come back here.
    if (event->type() == QEvent::PaletteChange && !applyingColors) {
        applyingColors = true;
        applyColors();
        applyingColors = false;
    }
    QWidget::changeEvent(event);
}

QGridLayout* PreferencesPane::form()
{
    if (!grid) {
        grid = new QGridLayout(this);
        grid->setContentsMargins(24, 20, 24, 20);
        grid->setHorizontalSpacing(14);
        grid->setVerticalSpacing(6);
        grid->setColumnStretch(1, 1);
    }
    return grid;
}

void PreferencesPane::addCaption(const QString& text)
{
    pendingCaption = caption(text);
}

void PreferencesPane::addRow(QWidget* control)
{
    form()->addWidget(control, row, 1);
    if (pendingCaption) {
        // Beside a paragraph the caption goes with its first line.
        const Qt::Alignment beside = qobject_cast<QLabel*>(control) ? Qt::AlignTop : Qt::AlignVCenter;
        grid->addWidget(pendingCaption, row, 0, Qt::AlignRight | beside);
        pendingCaption = nullptr;
    }
    grid->setRowStretch(row, 0);
    grid->setRowStretch(++row, 1);
}

void PreferencesPane::addRow(QLayout* controls)
{
    auto* holder = new QWidget(this);
    controls->setContentsMargins(0, 0, 0, 0);
    holder->setLayout(controls);
    addRow(holder);
}

DefaultsSwitch* PreferencesPane::addSwitch(UserDefaults& defaults, const QString& key, const QString& text,
                                           const QString& explains)
{
    auto* control = new DefaultsSwitch(defaults, key, text, this);
    addRow(control);
    if (!explains.isEmpty()) {
        // Lined up with the switch's text, not its box.
        QStyleOptionButton option;
        option.initFrom(control);
        const int indent = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, control).left();
        control->setAccessibleDescription(explains);
        QLabel* line = explanation(explains);
        line->setContentsMargins(indent, 0, 0, 4);
        line->setBuddy(control);
        addRow(line);
    }
    return control;
}

void PreferencesPane::addSpace()
{
    form()->setRowMinimumHeight(row, 10);
    grid->setRowStretch(row, 0);
    grid->setRowStretch(++row, 1);
}
