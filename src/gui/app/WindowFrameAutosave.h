#pragma once

#include <QObject>
#include <QString>

class QTimer;
class QWidget;
class UserDefaults;

// A window's frame kept in the settings under its autosave name (the main
// window's is "Huelark"), so it comes back where the user left it. Every
// move and resize is saved once the window has been still for a moment, so
// a program ended by the session or a signal keeps its frame too.
//
// Only a window on the screen is saved: the frame of a window that was
// never shown (a hidden start at login) is a guess without the window
// manager's decoration, and saving it would move the window a little
// further at every such start.
class WindowFrameAutosave : public QObject
{
    Q_OBJECT

public:
    WindowFrameAutosave(UserDefaults& defaults, const QString& autosaveName, QWidget& window,
                        QObject* parent = nullptr);

    // The settings key of a frame: "Window Frame " and the autosave name.
    static QString key(const QString& autosaveName);

    // False when no frame is stored or it cannot be used; the window is left
    // as it was then.
    bool restore();
    // Saves the frame now, if the window is on the screen.
    void save();
    // Saves a change still waiting for the window to be still.
    void flush();

Q_SIGNALS:
    // The frame was written to the settings.
    void saved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UserDefaults& defaults;
    QString name;
    QWidget& window;
    QTimer* pending = nullptr;
};
