#include "SwatchColumn.h"

#include <QAbstractButton>

void NoSwatchColumn::validateSwatchButtons(QAbstractButton& addButton, QAbstractButton& addPaletteButton)
{
    addButton.setEnabled(false);
    addPaletteButton.setEnabled(false);
}
