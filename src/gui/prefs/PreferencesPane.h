#pragma once

#include <QIcon>
#include <QString>
#include <QStyle>
#include <QWidget>

class DefaultsSwitch;
class QGridLayout;
class QLabel;
class QLayout;
class UserDefaults;

// One pane of the preferences window: its view, the name it is stored and
// switched to under, and its toolbar button.
//
// The identifier is a fixed string, never translated: the selected pane and
// each pane's size are stored under it, and a translation that changed it
// would lose them.
class PreferencesPane : public QWidget
{
    Q_OBJECT

public:
    explicit PreferencesPane(QWidget* parent = nullptr);

    virtual QString identifier() const = 0;
    virtual QString toolbarItemLabel() const = 0;
    virtual QIcon toolbarItemImage() const = 0;

    // By default a pane grows in height when its view asks for vertical room.
    virtual bool hasResizableHeight() const;
    virtual void viewWillAppear() {}
    virtual void viewDidDisappear() {}
    // False keeps the pane on show and the window open: what is being edited
    // cannot be stored yet.
    virtual bool commitEditing() { return true; }

    // Themes that do not set a link colour of their own leave Qt's dark
    // blue, which cannot be read on a dark background.
    static QColor readableLinkColor(const QPalette& palette);

protected:
    // The desktop theme's icon, or the style's own where the theme has none.
    QIcon themeIcon(const QString& themeName, QStyle::StandardPixmap fallback) const;
    // A caption of the form's left column, and a line under a control that
    // explains it; both in the faded text colour.
    QLabel* caption(const QString& text);
    QLabel* explanation(const QString& text);
    // Fades captions and explanations, again after a theme change.
    virtual void applyColors();
    void changeEvent(QEvent* event) override;

    // The form most panes are: captions on the left, controls on the right,
    // one row after the other. A caption starts a group on the next row.
    void addCaption(const QString& text);
    void addRow(QWidget* control);
    void addRow(QLayout* controls);
    DefaultsSwitch* addSwitch(UserDefaults& defaults, const QString& key, const QString& text,
                              const QString& explains = {});
    // Room before the next group.
    void addSpace();
    QGridLayout* form();

private:
    bool applyingColors = false;
    QGridLayout* grid = nullptr;
    int row = 0;
    QLabel* pendingCaption = nullptr;
};
