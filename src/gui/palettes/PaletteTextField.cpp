#include "PaletteTextField.h"

#include "controls/AppearanceColors.h"

#include <QEvent>

namespace {
constexpr int tabPadding = 20; // ten on either side of the name
constexpr int narrowestTab = 48;
}

PaletteTextField::PaletteTextField(QWidget* parent)
    : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(tabPadding / 2 - 2, 0, tabPadding / 2 - 2, 0);
    setStyleSheet(QStringLiteral("PaletteTextField { background: palette(base); border: none;"
                                 " border-top-left-radius: 4px; border-top-right-radius: 4px; }"));
    connect(this, &QLineEdit::textChanged, this, &PaletteTextField::updateView);
    applyColors();
}

void PaletteTextField::setMaximumTabWidth(int width)
{
    maximumTabWidth = width;
    updateView();
}

void PaletteTextField::updateView()
{
    const int wanted = std::max(narrowestTab, fontMetrics().horizontalAdvance(text()) + tabPadding + 4);
    resize(maximumTabWidth > 0 ? std::min(wanted, maximumTabWidth) : wanted, height());
}

void PaletteTextField::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ActivationChange)
        applyColors();
}

void PaletteTextField::applyColors()
{
    // Selected text stays readable on the pale selection in both themes, and
    // tells an inactive window apart by its text alone.
    const bool dark = AppearanceColors::appearanceIsDark(parentWidget());
    QPalette colors = palette();
    const QColor selection = QColor::fromRgbF(0.8f, 0.8f, 0.8f, 0.8f);
    colors.setColor(QPalette::Highlight, selection);
    colors.setColor(QPalette::Inactive, QPalette::Highlight, selection);
    colors.setColor(QPalette::Active, QPalette::HighlightedText, QColor::fromRgbF(0, 0, 0, 0.8f));
    colors.setColor(QPalette::Inactive, QPalette::HighlightedText, dark ? Qt::white : Qt::black);
    // The insertion point takes the text colour.
    colors.setColor(QPalette::Text, dark ? Qt::white : Qt::black);
    if (colors != palette()) {
        const QSignalBlocker quiet(this);
        setPalette(colors);
    }
}
