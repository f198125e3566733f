#pragma once

#include "colour/ValueField.h"

#include <QStringList>

class AutoCompletePopover;
class AutoCompleteTableViewDelegate;
class QListView;
class QStringListModel;
class SwatchWellDelegate;

// The main window's name field: it shows the current colour's name and
// completes a name while the user types. Matching names are listed in a
// popover beside the field; the highlighted one is previewed at once as the
// current colour while the typed text stays as typed, and Return, Tab or a
// double-click puts it into the field. The keyboard focus never leaves the
// field: Up and Down move through the list, Escape closes it.
//
// The text is drawn white on dark colours and dark grey on light ones, with
// selection colours to match, in the largest size from 8 to 16 px at which
// the name fits 180 px.
class AutoCompleteTextField : public ValueField
{
    Q_OBJECT

public:
    static constexpr int minimumFontSize = 8;
    static constexpr int maximumFontSize = 16;
    static constexpr int fittingWidth = 180;

    explicit AutoCompleteTextField(NotificationCenter& center, QWidget* parent = nullptr);
    ~AutoCompleteTextField() override;

    // Width of the popover, in pixels.
    int popOverWidth = 250;
    // Most rows visible at once; the list scrolls beyond.
    int maxResults = 10;
    // Where completions come from; none gives none. Not owned.
    AutoCompleteTableViewDelegate* tableViewDelegate = nullptr;
    // The current colour's lightness and the preview. Not owned.
    SwatchWellDelegate* swatchWellDelegate = nullptr;

    AutoCompletePopover* autoCompletePopover = nullptr;
    QListView* autoCompleteTableView = nullptr;
    // The completions of the last run, in the order received.
    const QStringList& matches() const { return matchList; }

    // A completion run for the field's text: opens the list with its first
    // row highlighted, or closes it when nothing matches.
    void complete();
    // Puts the highlighted name into the field and closes the list.
    void insert();

    // The pixel size of `base` at which `text` is drawn: the largest from 8
    // to 16 at which it is at most 180 px wide; 8 when none is.
    static int fittingFontSize(const QFont& base, const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void tableViewSelectionDidChange();
    void popoverWillShow();
    void selectRow(int row);
    void selectText();
    void updateTextAppearance();
    void updateSelectionColors(QPalette& palette, unsigned lightness) const;
    void updateFont();

    QStringListModel* model = nullptr;
    QStringList matchList;
    bool focusedWhenDeactivated = false;
    bool selectAllPending = false; // the focus came and no key or click has used it yet
};
