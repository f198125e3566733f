#pragma once

#include <QFrame>
#include <QPointer>

class QListView;

// The small window beside a text field that holds its completion list. It
// never takes the keyboard focus, so typing goes on in the field while the
// list is open and clicks in the list only choose rows. It closes when the
// user clicks anywhere else, or when the field's window moves, resizes,
// hides or goes to the background.
class AutoCompletePopover : public QFrame
{
    Q_OBJECT

public:
    // `anchor` is the field it belongs to, and its parent.
    explicit AutoCompletePopover(QWidget* anchor);

    QListView* tableView() const { return list; }

    // Opens (or moves) the popover at the right edge of the anchor, its list
    // `contentSize` big, the list's first row level with the anchor's text.
    void showRelativeToAnchor(QSize contentSize);
    bool isShown() const { return isVisible(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPointer<QWidget> anchor;
    QPointer<QWidget> watchedWindow;
    QListView* list = nullptr;
};
