#include "MainWindow.h"

#include "app/SwatchWell.h"
#include "app/TintedIcon.h"
#include "app/WindowCommands.h"
#include "colour/ValueField.h"
#include "names/AutoCompleteTextField.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QToolButton>
#include <QVBoxLayout>

const std::array<QString, 8> MainWindow::rowKeys {
    DefaultsKeys::showName, DefaultsKeys::showHEX, DefaultsKeys::showRGB, DefaultsKeys::showHSL,
    DefaultsKeys::showHSB,  DefaultsKeys::showLab, DefaultsKeys::showCMYK, DefaultsKeys::showCode,
};

// The icons live in the static GUI library; without an explicit reference
// the linker would drop them from every program.
static void initGuiResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(gui);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

QFont scaled(QFont font, qreal factor)
{
    font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}

QWidget* stackHost(QWidget* parent, QVBoxLayout*& stack)
{
    auto* host = new QWidget(parent);
    stack = new QVBoxLayout(host);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(6);
    return host;
}

} // namespace

MainWindow::MainWindow(NotificationCenter& center, const WindowCommands& commands, QWidget* parent)
    : QWidget(parent)
    , center(center)
{
    initGuiResources();
    setWindowTitle(QStringLiteral("Huelark"));
    setWindowIcon(QIcon(QStringLiteral(":/menu")));
    setObjectName(QStringLiteral("mainWindow"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    mainSwatchWell = new SwatchWell(this);
    mainSwatchWell->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // With every row turned off the window is a colour swatch: big enough to
    // see and to grab.
    // (The well's minimum hint, not a fixed minimum, which would override
    // the rows' own and let the window squeeze them over each other.)
    outer->addWidget(mainSwatchWell, 1);
    auto* wellLayout = new QVBoxLayout(mainSwatchWell);
    wellLayout->setContentsMargins(0, 0, 0, 0);

    containerView = new QWidget(mainSwatchWell);
    wellLayout->addWidget(containerView);
    auto* grid = new QGridLayout(containerView);
    grid->setContentsMargins(20, 16, 20, 16);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);

    leftColumn = new QVBoxLayout;
    leftColumn->setSpacing(10);
    topSpacer = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
    bottomSpacer = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
    leftColumn->addItem(topSpacer);
    leftColumn->addWidget(stackHost(containerView, mainStackView));
    leftColumn->addWidget(stackHost(containerView, codeStackView));
    leftColumn->addItem(bottomSpacer);
    grid->addLayout(leftColumn, 0, 0);
    grid->setColumnStretch(0, 1);
    grid->addWidget(stackHost(containerView, codeBottomStackView), 1, 0, 1, 2);

    buildRows();
    buildFooter(outer, commands);
    applyStyle();
    addActions(commands.withShortcuts());
}

ValueField* MainWindow::makeField(QWidget* row, const QString& accessibleName, int characters)
{
    auto* field = new ValueField(center, row);
    field->setFrame(false);
    field->setAccessibleName(accessibleName);
    field->setFont(scaled(QFontDatabase::systemFont(QFontDatabase::FixedFont), 1.05));
    if (characters > 0) {
        const int width = QFontMetrics(field->font()).horizontalAdvance(QString(characters, QLatin1Char('0')));
        field->setFixedWidth(width + 12);
    }
    return field;
}

QWidget* MainWindow::makeRow(const QString& title, const QList<QPair<QString, ValueField*>>& captionedFields)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* titleLabel = new QLabel(title, row);
    titleLabel->setProperty("role", QStringLiteral("rowTitle"));
    titleLabel->setFont(scaled(font(), 0.78));
    titleLabel->setFixedWidth(QFontMetrics(titleLabel->font()).horizontalAdvance(QStringLiteral("CMYKW")));
    rowTitles.append(titleLabel);
    layout->addWidget(titleLabel);
    for (const auto& [caption, field] : captionedFields) {
        if (!caption.isEmpty()) {
            auto* label = new QLabel(caption, row);
            label->setProperty("role", QStringLiteral("caption"));
            label->setFont(scaled(QFontDatabase::systemFont(QFontDatabase::FixedFont), 0.85));
            label->setBuddy(field);
            captionLabels.append(label);
            layout->addSpacing(6);
            layout->addWidget(label);
        }
        field->setParent(row);
        layout->addWidget(field);
    }
    layout->addStretch(1);
    row->hide();
    return row;
}

void MainWindow::buildRows()
{
    NotationFields& f = fields;
    const auto field = [this](const QString& name, int characters) { return makeField(this, name, characters); };

    f.nameField = new AutoCompleteTextField(center, this);
    f.nameField->setFrame(false);
    f.nameField->setAccessibleName(tr("Colour name"));
    f.nameField->setPlaceholderText(tr("Name"));
    nameContainerView = makeRow(tr("NAME"), { { QString(), f.nameField } });

    f.hexField = field(tr("Hex code"), 8);
    f.hexField->setFont(scaled(QFontDatabase::systemFont(QFontDatabase::FixedFont), 1.55));
    f.hexField->setFixedWidth(QFontMetrics(f.hexField->font()).horizontalAdvance(QStringLiteral("#DDDDDDD")) + 12);
    hexContainerView = makeRow(QString(), { { QString(), f.hexField } });
    // The hex row's title is also its field's caption.
    rowTitles.removeLast();
    auto* hexSmall = hexContainerView->findChild<QLabel*>();
    hexSmall->setText(tr("HEX"));
    captionLabels.prepend(hexSmall);

    f.rField = field(tr("Red"), 4);
    f.gField = field(tr("Green"), 4);
    f.bField = field(tr("Blue"), 4);
    rgbContainerView = makeRow(tr("RGB"), { { tr("R"), f.rField }, { tr("G"), f.gField }, { tr("B"), f.bField } });

    f.hHSLField = field(tr("HSL hue"), 4);
    f.sHSLField = field(tr("HSL saturation"), 4);
    f.lHSLField = field(tr("HSL lightness"), 4);
    hslContainerView = makeRow(tr("HSL"), { { tr("H"), f.hHSLField }, { tr("S"), f.sHSLField }, { tr("L"), f.lHSLField } });

    f.hHSBField = field(tr("HSB hue"), 4);
    f.sHSBField = field(tr("HSB saturation"), 4);
    f.bHSBField = field(tr("HSB brightness"), 4);
    hsbContainerView = makeRow(tr("HSB"), { { tr("H"), f.hHSBField }, { tr("S"), f.sHSBField }, { tr("B"), f.bHSBField } });

    f.lLabField = field(tr("Lab lightness"), 4);
    f.aLabField = field(tr("Lab a"), 4);
    f.bLabField = field(tr("Lab b"), 4);
    labContainerView = makeRow(tr("LAB"), { { tr("L"), f.lLabField }, { tr("a"), f.aLabField }, { tr("b"), f.bLabField } });

    f.cField = field(tr("Cyan"), 4);
    f.mField = field(tr("Magenta"), 4);
    f.yField = field(tr("Yellow"), 4);
    f.kField = field(tr("Black"), 4);
    cmykContainerView = makeRow(tr("CMYK"), { { tr("C"), f.cField }, { tr("M"), f.mField }, { tr("Y"), f.yField }, { tr("K"), f.kField } });

    // The code row: two read-only lines to copy from.
    codeContainerView = new QWidget(this);
    auto* codeLayout = new QGridLayout(codeContainerView);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    codeLayout->setHorizontalSpacing(4);
    codeLayout->setVerticalSpacing(2);
    auto* codeTitle = new QLabel(tr("CODE"), codeContainerView);
    codeTitle->setProperty("role", QStringLiteral("rowTitle"));
    codeTitle->setFont(scaled(font(), 0.78));
    codeTitle->setFixedWidth(QFontMetrics(codeTitle->font()).horizontalAdvance(QStringLiteral("CMYKW")));
    rowTitles.append(codeTitle);
    f.nsColorField = field(tr("NSColor code"), 0);
    f.uiColorField = field(tr("UIColor code"), 0);
    for (ValueField* code : { f.nsColorField, f.uiColorField }) {
        code->setParent(codeContainerView);
        code->setReadOnly(true);
        code->setFont(scaled(QFontDatabase::systemFont(QFontDatabase::FixedFont), 0.9));
        code->setMinimumWidth(QFontMetrics(code->font()).horizontalAdvance(QString(70, QLatin1Char('0'))));
    }
    codeLayout->addWidget(codeTitle, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    codeLayout->addWidget(f.nsColorField, 0, 1);
    codeLayout->addWidget(f.uiColorField, 1, 1);
    codeContainerView->hide();
}

void MainWindow::buildFooter(QVBoxLayout* outer, const WindowCommands& commands)
{
    footer = new QWidget(this);
    footer->setObjectName(QStringLiteral("footer"));
    footer->setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QHBoxLayout(footer);
    layout->setContentsMargins(10, 5, 10, 5);
    layout->setSpacing(2);

    const auto button = [&](const QString& icon, QAction* command) {
        auto* b = new QToolButton(footer);
        b->setAutoRaise(true);
        b->setProperty("iconResource", icon);
        b->setIconSize(QSize(18, 18));
        if (command) {
            b->setDefaultAction(command);
            b->setAccessibleName(command->text());
        }
        return b;
    };
    using C = WindowCommand;
    openPalettesButton = button(QStringLiteral(":/icons/palettes.svg"), commands.action(C::Palettes));
    generatorButton = button(QStringLiteral(":/icons/tools.svg"), commands.action(C::Tools));
    openPrefsButton = button(QStringLiteral(":/icons/preferences.svg"), commands.action(C::Preferences));
    openPrefsButton->setAccessibleName(tr("Preferences"));
    // The history button pops up a menu: its command opens that menu.
    QAction* history = commands.action(C::History);
    historyButton = button(QStringLiteral(":/icons/history.svg"), nullptr);
    historyButton->setObjectName(QStringLiteral("historyButton"));
    historyButton->setPopupMode(QToolButton::InstantPopup);
    historyButton->setToolTip(history->toolTip());
    historyButton->setAccessibleName(history->text());
    connect(history, &QAction::triggered, historyButton, &QToolButton::showMenu);
    addButton = button(QStringLiteral(":/icons/add-swatch.svg"), commands.action(C::AddSwatch));
    addPaletteButton = button(QStringLiteral(":/icons/add-palette.svg"), commands.action(C::SavePalette));
    layout->addWidget(openPalettesButton);
    layout->addWidget(generatorButton);
    layout->addWidget(openPrefsButton);
    layout->addStretch(1);
    layout->addWidget(historyButton);
    layout->addWidget(addButton);
    layout->addWidget(addPaletteButton);
    outer->addWidget(footer);
    tintIcons();
}

void MainWindow::tintIcons()
{
    const QColor color = palette().color(QPalette::WindowText);
    for (QToolButton* b : { openPalettesButton, generatorButton, openPrefsButton, historyButton, addButton, addPaletteButton }) {
        const QIcon icon = tintedIcon(b->property("iconResource").toString(), color);
        // A button shows its command's icon: the command carries it.
        if (b->defaultAction())
            b->defaultAction()->setIcon(icon);
        else
            b->setIcon(icon);
    }
}

void MainWindow::applyStyle()
{
    // The look of the fields is fixed; only their colours follow the current
    // colour, through palettes, which are far cheaper to change than a style
    // sheet on every crossing of the lightness threshold.
    setStyleSheet(QStringLiteral(
        "ValueField { background: transparent; border: 1px solid transparent; border-radius: 5px; padding: 1px 3px; }"
        "ValueField:hover { border-color: rgba(128,128,128,0.45); }"
        "ValueField:focus { background: rgba(255,255,255,0.2); border-color: rgba(128,128,128,0.55); }"
        "QLabel[role=\"rowTitle\"] { font-weight: 600; }"
        "QWidget#footer { background: palette(window); border-top: 1px solid palette(mid); }"
        "QToolButton#historyButton::menu-indicator { image: none; width: 0px; }"));
    applyTextColors();
}

void MainWindow::applyTextColors()
{
    // White text on dark colours, dark grey on light ones, both a little
    // translucent so they take on the colour beneath.
    const QColor text = lightText ? QColor(255, 255, 255, 204) : QColor(51, 51, 51, 204);
    QColor caption = text;
    caption.setAlpha(lightText ? 150 : 175);
    QPalette fieldPalette = palette();
    fieldPalette.setColor(QPalette::Text, text);
    fieldPalette.setColor(QPalette::PlaceholderText, caption);
    // Selected text stays white: dark grey would vanish into the selection
    // drawn over a dark colour.
    fieldPalette.setColor(QPalette::Highlight, lightText ? QColor(171, 171, 171, 102) : QColor(45, 45, 45, 153));
    fieldPalette.setColor(QPalette::HighlightedText, Qt::white);
    for (ValueField* field : fields.all())
        field->setPalette(fieldPalette);
    updateLabelColors(caption);
}

void MainWindow::updateLabelColors(const QColor& color)
{
    QPalette labelPalette = palette();
    labelPalette.setColor(QPalette::WindowText, color);
    for (QLabel* label : captionLabels + rowTitles)
        label->setPalette(labelPalette);
}

void MainWindow::updateUIColors(unsigned lightness)
{
    const bool light = lightness < 55;
    if (light == lightText)
        return;
    lightText = light;
    applyTextColors();
}

QList<QWidget*> MainWindow::allRows() const
{
    return { nameContainerView, hexContainerView, rgbContainerView, hslContainerView,
             hsbContainerView, labContainerView, cmykContainerView, codeContainerView };
}

QList<QWidget*> MainWindow::converterArray(const std::array<bool, 8>& shown) const
{
    QList<QWidget*> rows;
    const QList<QWidget*> all = allRows();
    for (int i = 0; i < 7; ++i) {
        if (shown[i])
            rows.append(all[i]);
    }
    return rows;
}

void MainWindow::resetWindow()
{
    for (QVBoxLayout* stack : { mainStackView, codeStackView, codeBottomStackView }) {
        while (QLayoutItem* item = stack->takeAt(0)) {
            if (QWidget* row = item->widget()) {
                row->hide();
                row->setParent(this);
            }
            delete item;
        }
    }
    setCentred(false);
}

AutoCompleteTextField* MainWindow::nameField() const { return static_cast<AutoCompleteTextField*>(fields.nameField); }

void MainWindow::updateWindowWithConverters(const std::array<bool, 8>& shown)
{
    resetWindow();
    const QList<QWidget*> rows = converterArray(shown);
    for (QWidget* row : rows) {
        mainStackView->addWidget(row);
        row->show();
    }
    if (!shown[7]) {
        setCentred(true);
    } else {
        QVBoxLayout* stack = rows.size() > 4 ? codeBottomStackView : codeStackView;
        stack->addWidget(codeContainerView);
        codeContainerView->show();
    }
    focusHexField();
}

void MainWindow::updateWindowWithConverters(const UserDefaults& defaults)
{
    std::array<bool, 8> shown {};
    for (size_t i = 0; i < shown.size(); ++i)
        shown[i] = defaults.boolForKey(rowKeys[i]);
    updateWindowWithConverters(shown);
    if (isVisible())
        resize(width(), sizeHint().height());
}

void MainWindow::focusHexField()
{
    // Most visits are to read or type a code, and a stray key in the name
    // field would open its completions and change the colour. A field the
    // user chose keeps the focus.
    const QWidget* current = focusWidget();
    if (hexContainerView->isVisibleTo(this) && (!current || !current->isVisibleTo(this)))
        fields.hexField->setFocus(Qt::OtherFocusReason);
}

bool MainWindow::setWindowFlagKeepingShown(Qt::WindowType flag, bool on)
{
    if (windowFlags().testFlag(flag) == on)
        return false;
    // Changing a window's flags hides it.
    const bool visible = isVisible();
    setWindowFlag(flag, on);
    if (visible)
        show();
    return true;
}

void MainWindow::setCentred(bool centred)
{
    mainStackViewCenterConstraint = centred;
    topSpacer->changeSize(0, 0, QSizePolicy::Minimum, centred ? QSizePolicy::Expanding : QSizePolicy::Fixed);
    leftColumn->invalidate();
}

void MainWindow::setSwatchColumn(QWidget* column)
{
    swatchColumn = column;
    if (column) {
        auto* grid = static_cast<QGridLayout*>(containerView->layout());
        grid->addWidget(column, 0, 1);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (auto* editing = qobject_cast<ValueField*>(focusWidget()))
        editing->endEditing();
    Q_EMIT windowWillClose();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event)
{
    // The desktop switched between light and dark: the icons follow.
    if (event->type() == QEvent::PaletteChange && openPalettesButton) {
        tintIcons();
        applyTextColors();
    }
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            Q_EMIT windowDidBecomeKey();
        else
            Q_EMIT windowDidResignKey();
    }
    QWidget::changeEvent(event);
}
