#pragma once

#include "colour/NotationFields.h"

#include <QList>
#include <QWidget>

#include <array>

class AutoCompleteTextField;
class NotificationCenter;
class QLabel;
class QSpacerItem;
class QToolButton;
class QVBoxLayout;
class SwatchWell;
class UserDefaults;
class ValueField;
class WindowCommands;

// The main window: the swatch well filling its top, the notation rows laid
// over the colour, the place for the swatch column at the right edge, and a
// footer with the buttons for the other windows. It only lays things out and
// reports what the user does; AppDelegate decides what happens.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // The settings keys of the rows, in display order; the last is the code
    // row, which is placed on its own.
    static const std::array<QString, 8> rowKeys;

    // The footer's buttons and the window's shortcuts are `commands`.
    MainWindow(NotificationCenter& center, const WindowCommands& commands, QWidget* parent = nullptr);

    // The notation rows shown for `shown` (one flag per row key).
    QList<QWidget*> converterArray(const std::array<bool, 8>& shown) const;
    void resetWindow();
    // Rebuilds the rows: shown ones in order, the code row in the side stack
    // with up to four rows, under them all with more, and the rows centred
    // when there is no code row.
    void updateWindowWithConverters(const std::array<bool, 8>& shown);
    // The same from the row keys' settings; a shown window takes the height
    // the rows need.
    void updateWindowWithConverters(const UserDefaults& defaults);
    // Puts the swatch column at the right edge (none: nothing there).
    void setSwatchColumn(QWidget* column);

    // Text and caption colours for a colour of this rounded L*: light text
    // below 55, dark text from there on.
    void updateUIColors(unsigned lightness);
    bool showsLightText() const { return lightText; }
    // Sets or clears a window flag; a shown window stays shown. True when
    // the flag changed.
    bool setWindowFlagKeepingShown(Qt::WindowType flag, bool on);

    SwatchWell* mainSwatchWell = nullptr;
    QWidget* containerView = nullptr;
    QWidget *nameContainerView = nullptr, *hexContainerView = nullptr, *rgbContainerView = nullptr,
            *hslContainerView = nullptr, *hsbContainerView = nullptr, *labContainerView = nullptr,
            *cmykContainerView = nullptr, *codeContainerView = nullptr;
    QVBoxLayout *mainStackView = nullptr, *codeStackView = nullptr, *codeBottomStackView = nullptr;
    bool mainStackViewCenterConstraint = false; // the rows are centred vertically
    QToolButton *openPalettesButton = nullptr, *generatorButton = nullptr, *openPrefsButton = nullptr,
                *addButton = nullptr, *addPaletteButton = nullptr, *historyButton = nullptr;
    NotationFields fields;
    // fields.nameField, the field that completes names.
    AutoCompleteTextField* nameField() const;
    QList<QLabel*> captionLabels; // the small label of every number field and of the hex field

Q_SIGNALS:
    void windowWillClose();
    void windowDidBecomeKey();
    void windowDidResignKey();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    ValueField* makeField(QWidget* row, const QString& accessibleName, int characters);
    QWidget* makeRow(const QString& title, const QList<QPair<QString, ValueField*>>& captionedFields);
    void buildRows();
    void buildFooter(QVBoxLayout* outer, const WindowCommands& commands);
    void updateLabelColors(const QColor& color);
    void focusHexField();
    void tintIcons();
    void applyStyle();
    void applyTextColors();
    void setCentred(bool centred);
    QList<QWidget*> allRows() const;

    NotificationCenter& center;
    QList<QLabel*> rowTitles;
    QWidget* footer = nullptr;
    QWidget* swatchColumn = nullptr;
    QSpacerItem *topSpacer = nullptr, *bottomSpacer = nullptr;
    QVBoxLayout* leftColumn = nullptr;
    bool lightText = true;
};
