#include "AutoCompleteTextField.h"

#include "controls/AppearanceColors.h"
#include "names/AutoCompletePopover.h"
#include "names/AutoCompleteTableRowView.h"
#include "names/AutoCompleteTableViewDelegate.h"
#include "names/SwatchWellDelegate.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QListView>
#include <QStringListModel>
#include <QTimer>

namespace {

// The stylesheet's border and padding plus the line edit's own margin, on
// each side.
constexpr int textInset = 1 + 3 + 2;

// Light text below this lightness, dark text from it on.
constexpr unsigned darkTextFrom = 55;

QColor white(double level, double alpha) { return QColor::fromRgbF(float(level), float(level), float(level), float(alpha)); }

} // namespace

AutoCompleteTextField::AutoCompleteTextField(NotificationCenter& center, QWidget* parent)
    : ValueField(center, parent)
    , model(new QStringListModel(this))
{
    autoCompletePopover = new AutoCompletePopover(this);
    autoCompleteTableView = autoCompletePopover->tableView();
    autoCompleteTableView->setModel(model);
    autoCompleteTableView->setItemDelegate(new AutoCompleteTableRowView(autoCompleteTableView));
    connect(autoCompleteTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AutoCompleteTextField::tableViewSelectionDidChange);
    connect(autoCompleteTableView, &QAbstractItemView::doubleClicked, this, &AutoCompleteTextField::insert);

    // Every edit of the user's, typed, pasted or composed, completes anew;
    // text the program writes does not.
    connect(this, &QLineEdit::textEdited, this, &AutoCompleteTextField::complete);
    connect(this, &QLineEdit::textChanged, this, &AutoCompleteTextField::updateFont);

    // Room for the widest fitted name, at a height that does not change
    // with the font, so the window does not jump while the user types.
    QFont largest = font();
    largest.setPixelSize(maximumFontSize);
    setFixedSize(fittingWidth + 2 * textInset, QFontMetrics(largest).height() + 2 * textInset);
    updateFont();
}

AutoCompleteTextField::~AutoCompleteTextField() = default;

// ---- completion

void AutoCompleteTextField::complete()
{
    const QString typed = text();
    if (typed.isEmpty()) {
        autoCompletePopover->hide();
        return;
    }
    matchList = tableViewDelegate ? tableViewDelegate->textFieldCompletions(this, {}, { 0, typed.size() }, 0)
                                  : QStringList();
    if (matchList.isEmpty()) {
        autoCompletePopover->hide();
        return;
    }
    model->setStringList(matchList);
    selectRow(0);
    popoverWillShow();
}

void AutoCompleteTextField::insert()
{
    const QModelIndexList selected = autoCompleteTableView->selectionModel()->selectedRows();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    if (row >= 0 && row < matchList.size()) {
        setText(matchList.at(row));
        if (tableViewDelegate)
            tableViewDelegate->textFieldDidSelectItem(this, text());
    }
    autoCompletePopover->hide();
}

void AutoCompleteTextField::selectRow(int row)
{
    const QModelIndex index = model->index(std::clamp(row, 0, int(model->rowCount()) - 1));
    autoCompleteTableView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    autoCompleteTableView->scrollTo(index);
}

void AutoCompleteTextField::tableViewSelectionDidChange()
{
    const QModelIndexList selected = autoCompleteTableView->selectionModel()->selectedRows();
    if (selected.isEmpty() || !swatchWellDelegate)
        return;
    const int row = selected.first().row();
    if (row < matchList.size())
        swatchWellDelegate->setSwatchFromNameField(matchList.at(row));
}

void AutoCompleteTextField::popoverWillShow()
{
    const int rows = std::min(int(model->rowCount()), maxResults);
    const int height = rows * autoCompleteTableView->sizeHintForRow(0);
    autoCompletePopover->showRelativeToAnchor(QSize(popOverWidth, height));
}

// ---- keys and focus

bool AutoCompleteTextField::event(QEvent* event)
{
    // Events come while the field is still being built.
    if (autoCompletePopover && autoCompletePopover->isShown()) {
        if (event->type() == QEvent::ShortcutOverride) {
            // The list's keys are the field's while the list is open, even
            // where the window has a shortcut on one of them.
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Escape:
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                event->accept();
                return true;
            default:
                break;
            }
        }
        // Tab commits the highlighted name instead of moving on.
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                insert();
                return true;
            }
        }
    }
    return ValueField::event(event);
}

void AutoCompleteTextField::keyPressEvent(QKeyEvent* event)
{
    selectAllPending = false;
    if (autoCompletePopover->isShown()) {
        const int row = autoCompleteTableView->currentIndex().row();
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            insert();
            return;
        case Qt::Key_Escape:
            autoCompletePopover->hide();
            return;
        case Qt::Key_Up:
            selectRow(row - 1);
            return;
        case Qt::Key_Down:
            selectRow(row + 1);
            return;
        case Qt::Key_PageUp:
            selectRow(row - maxResults);
            return;
        case Qt::Key_PageDown:
            selectRow(row + maxResults);
            return;
        default:
            break;
        }
    } else if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        // The arrows open the list of what the text completes to.
        ValueField::keyPressEvent(event);
        complete();
        event->accept();
        return;
    }
    ValueField::keyPressEvent(event);
}

void AutoCompleteTextField::focusInEvent(QFocusEvent* event)
{
    ValueField::focusInEvent(event);
    // Coming back from another window the edit goes on where it was;
    // otherwise the name is selected, to be typed over. A click that brings
    // the window back and lands in this field also gives the focus "by
    // activation", so what counts is whether the field had it when the
    // window went to the background.
    const bool resumed = event->reason() == Qt::PopupFocusReason
        || (event->reason() == Qt::ActiveWindowFocusReason && focusedWhenDeactivated);
    focusedWhenDeactivated = false;
    if (!resumed)
        selectText();
}

void AutoCompleteTextField::mouseReleaseEvent(QMouseEvent* event)
{
    ValueField::mouseReleaseEvent(event);
    // The click that brought the focus may be handled after the deferred
    // select-all (when it also brought the window back): it selects now,
    // unless the user dragged over a part of the name.
    if (selectAllPending && !hasSelectedText())
        selectAll();
    selectAllPending = false;
}

void AutoCompleteTextField::selectText()
{
    QPalette p = palette();
    updateSelectionColors(p, swatchWellDelegate ? swatchWellDelegate->lightness() : 0);
    if (p != palette())
        setPalette(p);
    // After the click that brought the focus has been handled, or it would
    // put the cursor where it landed.
    selectAllPending = true;
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            selectAll();
    });
}

void AutoCompleteTextField::focusOutEvent(QFocusEvent* event)
{
    focusedWhenDeactivated = event->reason() == Qt::ActiveWindowFocusReason;
    selectAllPending = false;
    autoCompletePopover->hide();
    ValueField::focusOutEvent(event);
}

void AutoCompleteTextField::hideEvent(QHideEvent* event)
{
    autoCompletePopover->hide();
    ValueField::hideEvent(event);
}

// ---- appearance

void AutoCompleteTextField::paintEvent(QPaintEvent* event)
{
    updateTextAppearance();
    ValueField::paintEvent(event);
}

void AutoCompleteTextField::updateTextAppearance()
{
    const unsigned lightness = swatchWellDelegate ? swatchWellDelegate->lightness() : 0;
    const QColor textColor = lightness < darkTextFrom ? white(1.0, 0.8) : white(0.2, 0.8);
    QPalette p = palette();
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive })
        p.setColor(group, QPalette::Text, textColor);
    updateSelectionColors(p, lightness);
    // Only a change is written: a new palette means another paint.
    if (p != palette())
        setPalette(p);
}

void AutoCompleteTextField::updateSelectionColors(QPalette& p, unsigned lightness) const
{
    // Selected text is the colour's opposite: white on dark grey over light
    // colours, black on white over dark ones.
    const bool lightColour = lightness >= darkTextFrom;
    p.setColor(QPalette::Active, QPalette::HighlightedText, lightColour ? white(1.0, 0.8) : white(0.0, 0.8));
    p.setColor(QPalette::Active, QPalette::Highlight, lightColour ? white(0.2, 0.6) : white(1.0, 0.8));
    // In a window in the background the selection is the theme's muted one,
    // whatever the colour beneath.
    const bool dark = AppearanceColors::appearanceIsDark(window());
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, dark ? white(1.0, 0.8) : white(0.2, 0.8));
    p.setColor(QPalette::Inactive, QPalette::Highlight, dark ? QColor(0x46, 0x46, 0x46) : QColor(0xdc, 0xdc, 0xdc));
}

void AutoCompleteTextField::updateFont()
{
    QFont fitted = font();
    fitted.setPixelSize(fittingFontSize(fitted, text()));
    if (fitted != font())
        setFont(fitted);
}

int AutoCompleteTextField::fittingFontSize(const QFont& base, const QString& text)
{
    QFont font = base;
    for (int size = maximumFontSize; size > minimumFontSize; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= fittingWidth)
            return size;
    }
    return minimumFontSize;
}
