#pragma once

#include <QLineEdit>

// The name of a palette being renamed: a tab that grows with the text as it
// is typed, up to the width of its row.
class PaletteTextField : public QLineEdit
{
    Q_OBJECT

public:
    explicit PaletteTextField(QWidget* parent = nullptr);

    // Sizes the tab to the text (updateView); `maximumTabWidth` is the room
    // the row leaves.
    void updateView();
    void setMaximumTabWidth(int width);

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyColors();

    int maximumTabWidth = 0;
};
