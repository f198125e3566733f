#pragma once

#include "shortcut/Shortcut.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class ShortcutMonitor;
class ShortcutValidator;
class UserDefaults;

// The control that records a global shortcut. Clicked, it records: the next
// usable key combination becomes its value; Escape keeps the old value,
// Delete or Backspace clears it, Tab moves on, and Ctrl+W or Ctrl+Q stop
// recording and still close or quit. While modifiers alone are held they
// show as the title. One control records at a time, and recording stops when
// the window loses the focus.
//
// With a settings key it shows the stored shortcut, follows changes of it
// and stores what is recorded. With a monitor it asks whether another
// program holds a shortcut before taking it, and tells (note()) when the
// shortcut could not be registered or this desktop needs it set elsewhere.
class ShortcutView : public QWidget
{
    Q_OBJECT

public:
    explicit ShortcutView(QWidget* parent = nullptr);
    // Recorder of the shortcut stored under `defaultsKey`, checked against
    // the program's monitor.
    ShortcutView(UserDefaults& defaults, const QString& defaultsKey, QWidget* parent = nullptr);
    ~ShortcutView() override;

    // A recorder for `defaultsKey` with its note below it, ready for a
    // preferences pane; the recorder is the returned widget's ShortcutView
    // child.
    static QWidget* createRecorder(UserDefaults& defaults, const QString& defaultsKey, QWidget* parent = nullptr);

    const std::optional<Shortcut>& shortcutValue() const { return value; }
    void setShortcutValue(const std::optional<Shortcut>& shortcut);
    bool recording() const { return isRecording; }
    // False (and nothing changes) for a disabled control.
    bool setRecording(bool on);
    // The look (0 round, 1 textured, 2 rounded, 3 borderless, 4 square): the
    // width of the hint strip follows it.
    int recorderStyle() const { return drawStyle; }
    void setRecorderStyle(int style);
    bool showsDeleteButton = true;
    ShortcutValidator* shortcutValidator;
    std::function<void(ShortcutView&)> shortcutValueChange;

    void setAssociatedUserDefaultsKey(UserDefaults& defaults, const QString& key);
    QString associatedUserDefaultsKey() const { return defaultsKey; }
    void setMonitor(ShortcutMonitor* monitor);

    // What is drawn now: the title, the hint glyph, the tooltip at `point`.
    QString title() const;
    QString hintGlyph() const;
    QString toolTipAt(const QPoint& point) const;
    // Why the shortcut does not work; empty when it does.
    QString note() const { return noteText; }
    // The strip at the right end that cancels or deletes.
    QRect hintRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void noteChanged(const QString& note);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The key rules while recording; true when the event is consumed.
    bool recordKey(QKeyEvent* event);
    bool conflicts(const Shortcut& shortcut, QString* explanation) const;
    void setHinting(bool on);
    void storeValue();
    void readStoredValue();
    void updateNote();
    void updateAccessibility();
    QString help() const;

    std::optional<Shortcut> value;
    bool isRecording = false;
    bool hinting = false;
    bool alerting = false;
    int drawStyle = 0;
    QString placeholder;
    QString noteText;
    UserDefaults* defaults = nullptr;
    QString defaultsKey;
    bool readingStored = false;
    QPointer<ShortcutMonitor> monitor;

    static QPointer<ShortcutView> recordingView;
};
