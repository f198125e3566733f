#include "ShortcutView.h"

#include "ShortcutMonitor.h"
#include "settings/UserDefaults.h"
#include "shortcut/ShortcutValidator.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QStyleOptionButton>
#include <QToolTip>
#include <QVBoxLayout>

QPointer<ShortcutView> ShortcutView::recordingView;

namespace {

const QString cancelGlyph = QStringLiteral("\u238B");
const QString deleteGlyph = QStringLiteral("\u2715");

// For assistive technologies the control is a button whose press records.
class ShortcutViewAccessible : public QAccessibleWidget
{
public:
    explicit ShortcutViewAccessible(ShortcutView* view)
        : QAccessibleWidget(view, QAccessible::Button)
    {
    }
    QStringList actionNames() const override { return { pressAction() }; }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            static_cast<ShortcutView*>(widget())->setRecording(true);
    }
};

QAccessibleInterface* accessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("ShortcutView") && object && object->isWidgetType())
        return new ShortcutViewAccessible(static_cast<ShortcutView*>(object));
    return nullptr;
}

// The program's own commands and their shortcuts, as its windows hold them.
QList<ShortcutValidator::Command> programCommands()
{
    QList<ShortcutValidator::Command> commands;
    QSet<QAction*> seen;
    const auto add = [&](QAction* action) {
        if (seen.contains(action))
            return;
        seen.insert(action);
        for (const QKeySequence& keys : action->shortcuts()) {
            if (keys.count() != 1)
                continue;
            const QKeyCombination combination = keys[0];
            commands << ShortcutValidator::Command {
                action->text().remove(u'&'), Shortcut::shortcutWithKey(combination.key(), combination.keyboardModifiers())
            };
        }
    };
    for (QWidget* window : QApplication::topLevelWidgets()) {
        for (QAction* action : window->actions())
            add(action);
        for (QAction* action : window->findChildren<QAction*>())
            add(action);
    }
    return commands;
}

// The modifier a modifier key sets. Displays report the state from before
// the event, so pressing Ctrl does not yet say Ctrl and releasing it still does.
Qt::KeyboardModifiers modifierOfKey(int key)
{
    switch (key) {
    case Qt::Key_Shift: return Qt::ShiftModifier;
    case Qt::Key_Control: return Qt::ControlModifier;
    case Qt::Key_Alt: return Qt::AltModifier;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R: return Qt::MetaModifier;
    default: return {};
    }
}

} // namespace

ShortcutView::ShortcutView(QWidget* parent)
    : QWidget(parent)
    , shortcutValidator(&ShortcutValidator::sharedValidator())
{
    static const bool factory = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    Q_UNUSED(factory);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleDescription(help());
    updateAccessibility();
}

ShortcutView::ShortcutView(UserDefaults& defaults, const QString& defaultsKey, QWidget* parent)
    : ShortcutView(parent)
{
    setMonitor(&ShortcutMonitor::sharedMonitor());
    setAssociatedUserDefaultsKey(defaults, defaultsKey);
}

ShortcutView::~ShortcutView()
{
    if (isRecording) {
        qApp->removeEventFilter(this);
        if (monitor)
            monitor->setSuspended(false);
    }
}

QWidget* ShortcutView::createRecorder(UserDefaults& defaults, const QString& defaultsKey, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new ShortcutView(defaults, defaultsKey, box);
    view->setRecorderStyle(1);
    auto* note = new QLabel(view->note(), box);
    note->setWordWrap(true);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note->setVisible(!view->note().isEmpty());
    layout->addWidget(view);
    layout->addWidget(note);
    connect(view, &ShortcutView::noteChanged, note, [note](const QString& text) {
        note->setText(text);
        note->setVisible(!text.isEmpty());
    });
    return box;
}

void ShortcutView::setShortcutValue(const std::optional<Shortcut>& shortcut)
{
    value = shortcut;
    update();
    updateAccessibility();
    if (!readingStored)
        storeValue();
    updateNote();
    if (shortcutValueChange && !readingStored)
        shortcutValueChange(*this);
}

bool ShortcutView::setRecording(bool on)
{
    if (on && !isEnabled())
        return false;
    if (on == isRecording)
        return true;
    if (on && recordingView && recordingView != this)
        recordingView->setRecording(false);
    isRecording = on;
    recordingView = on ? this : (recordingView == this ? nullptr : recordingView.data());
    placeholder.clear();
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    if (monitor)
        monitor->setSuspended(on);
    update();
    updateAccessibility();
    if (!on) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    return true;
}

void ShortcutView::setRecorderStyle(int style)
{
    drawStyle = qBound(0, style, 4);
    update();
}

void ShortcutView::setAssociatedUserDefaultsKey(UserDefaults& store, const QString& key)
{
    if (defaults)
        disconnect(defaults, nullptr, this, nullptr);
    defaults = &store;
    defaultsKey = key;
    connect(defaults, &UserDefaults::valueChanged, this, [this](const QString& changed) {
        if (changed == defaultsKey && !readingStored)
            readStoredValue();
    });
    readStoredValue();
}

void ShortcutView::setMonitor(ShortcutMonitor* shortcuts)
{
    if (monitor)
        disconnect(monitor, nullptr, this, nullptr);
    monitor = shortcuts;
    if (monitor) {
        connect(monitor, &ShortcutMonitor::registrationsChanged, this, &ShortcutView::updateNote);
        // A registered shortcut typed while recording never reaches the
        // window: the display hands it to the grab.
        connect(monitor, &ShortcutMonitor::heldShortcutPressed, this, [this](const Shortcut& shortcut) {
            if (!isRecording)
                return;
            setShortcutValue(shortcut);
            setRecording(false);
        });
    }
    updateNote();
}

void ShortcutView::readStoredValue()
{
    readingStored = true;
    setShortcutValue(Shortcut::unarchive(defaults->objectForKey(defaultsKey)));
    readingStored = false;
}

void ShortcutView::storeValue()
{
    if (!defaults)
        return;
    // Storing reports the change back to us; the value is ours already.
    readingStored = true;
    if (value)
        defaults->setObject(value->archive(), defaultsKey);
    else
        defaults->removeObjectForKey(defaultsKey);
    readingStored = false;
    defaults->synchronize();
}

void ShortcutView::updateNote()
{
    QString text;
    if (monitor) {
        if (monitor->service() == ShortcutMonitor::Service::None)
            text = ShortcutMonitor::desktopSettingsExplanation();
        else if (value)
            text = monitor->refusal(*value);
    }
    if (text == noteText)
        return;
    noteText = text;
    setAccessibleDescription(noteText.isEmpty() ? help() : help() + u'\n' + noteText);
    update();
    Q_EMIT noteChanged(noteText);
}

QString ShortcutView::help() const
{
    return tr("To record a new shortcut, click this button, and then type the new shortcut, or press delete to clear "
              "an existing shortcut.");
}

void ShortcutView::updateAccessibility()
{
    const QString shown = value ? value->description() : tr("Empty");
    setAccessibleName(shown + u' ' + tr("keyboard shortcut"));
}

// ---- what it shows
QString ShortcutView::title() const
{
    if (!isRecording)
        return value ? value->description() : tr("Record Shortcut");
    if (hinting)
        return value ? tr("Use Old Shortcut") : tr("Cancel");
    if (!placeholder.isEmpty())
        return placeholder;
    return value ? tr("Type New Shortcut") : tr("Type Shortcut");
}

QString ShortcutView::hintGlyph() const
{
    if (isRecording)
        return cancelGlyph;
    return value && showsDeleteButton ? deleteGlyph : QString();
}

QRect ShortcutView::hintRect() const
{
    static constexpr int widths[] = { 23, 25, 26, 0, 23 };
    const int width = drawStyle == 3 ? QFontInfo(font()).pointSize() + 4 : widths[drawStyle];
    return QRect(this->width() - width, 0, width, height());
}

QString ShortcutView::toolTipAt(const QPoint& point) const
{
    if (!noteText.isEmpty() && !isRecording)
        return noteText;
    if (!value || isRecording || !isEnabled())
        return {};
    return hintRect().contains(point) && showsDeleteButton ? tr("Delete shortcut") : tr("Click to record new shortcut");
}

QSize ShortcutView::sizeHint() const
{
    QStyleOptionButton option;
    option.initFrom(this);
    const QSize text = fontMetrics().size(Qt::TextSingleLine, tr("Type New Shortcut"));
    const QSize size = QWidget::style()->sizeFromContents(QStyle::CT_PushButton, &option, text, this);
    return { qMax(120, size.width() + hintRect().width()), size.height() };
}

void ShortcutView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isRecording ? QStyle::State_On | QStyle::State_Sunken : QStyle::State_Off | QStyle::State_Raised;
    if (drawStyle != 3)
        QWidget::style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    const QRect hint = hintRect();
    // The title takes the whole control when nothing can be cancelled or deleted.
    const QRect titleRect = (value || isRecording) ? rect().adjusted(0, 0, -hint.width(), 0) : rect();
    QString text = title();
    if (!noteText.isEmpty() && !isRecording)
        text = QStringLiteral("\u26A0 ") + text;
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(titleRect, Qt::AlignCenter, fontMetrics().elidedText(text, Qt::ElideRight, titleRect.width() - 8));
    const QString glyph = hintGlyph();
    if (!glyph.isEmpty())
        painter.drawText(hint.adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter, glyph);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        QWidget::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

// ---- pointer
void ShortcutView::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled() || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const bool inHint = hintRect().contains(event->position().toPoint());
    if (value && !isRecording) {
        if (!inHint || !showsDeleteButton)
            setRecording(true);
        else
            setShortcutValue(std::nullopt);
    } else if (isRecording) {
        if (inHint)
            setRecording(false);
    } else {
        setRecording(true);
    }
}

void ShortcutView::mouseMoveEvent(QMouseEvent* event)
{
    if (isEnabled())
        setHinting(hintRect().contains(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void ShortcutView::leaveEvent(QEvent* event)
{
    setHinting(false);
    QWidget::leaveEvent(event);
}

void ShortcutView::setHinting(bool on)
{
    if (on == hinting)
        return;
    hinting = on;
    update();
}

// ---- keyboard
void ShortcutView::keyPressEvent(QKeyEvent* event)
{
    // Keyboard access: Space or Return starts recording as a click would.
    if (!isRecording && event->modifiers() == Qt::NoModifier
        && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        setRecording(true);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ShortcutView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        setHinting(false);
        if (!isEnabled())
            setRecording(false);
        update();
    }
    QWidget::changeEvent(event);
}

bool ShortcutView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this, hintRect().contains(help->pos()) ? hintRect() : QRect());
        return true;
    }
    return QWidget::event(event);
}

// Another pane shown in its place: keys typed there are not for us.
void ShortcutView::hideEvent(QHideEvent* event)
{
    setRecording(false);
    QWidget::hideEvent(event);
}

bool ShortcutView::eventFilter(QObject* watched, QEvent* event)
{
    if (!isRecording || alerting)
        return false;
    switch (event->type()) {
    case QEvent::WindowDeactivate:
        if (watched == window())
            setRecording(false);
        return false;
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
        // Closing the window and quitting keep working while recording.
        if (held == Qt::ControlModifier && (key->key() == Qt::Key_W || key->key() == Qt::Key_Q)) {
            setRecording(false);
            return false;
        }
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        // Every other key comes to us as a key press, not to a window shortcut.
        event->accept();
        return true;
    }
    case QEvent::KeyPress:
        if (!watched->isWidgetType() && !watched->isWindowType())
            return false;
        return recordKey(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (const Qt::KeyboardModifiers released = modifierOfKey(key->key())) {
            placeholder = Shortcut::shortcutWithKey(0, key->modifiers() & ~released).modifierFlagsString();
            update();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

bool ShortcutView::recordKey(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return false;
    if (held == Qt::NoModifier && (key == Qt::Key_Delete || key == Qt::Key_Backspace)) {
        setShortcutValue(std::nullopt);
        setRecording(false);
        return true;
    }
    if (held == Qt::NoModifier && key == Qt::Key_Escape) {
        setRecording(false);
        return true;
    }
    if (held == Qt::ControlModifier && (key == Qt::Key_W || key == Qt::Key_Q)) {
        setRecording(false);
        return false;
    }
    const Shortcut shortcut = Shortcut::shortcutWithKey(key, held);
    if (shortcut.keyCodeString().isEmpty()) {
        placeholder = Shortcut::shortcutWithKey(0, held | modifierOfKey(key)).modifierFlagsString();
        update();
        return true;
    }
    if (shortcutValidator && !shortcutValidator->isShortcutValid(shortcut)) {
        QApplication::beep();
        return true;
    }
    QString explanation;
    if (shortcutValidator && conflicts(shortcut, &explanation)) {
        alerting = true;
        QMessageBox alert(QMessageBox::Critical, tr("Shortcut in Use"),
                          tr("The key combination %1 cannot be used").arg(shortcut.description()), QMessageBox::Ok,
                          window());
        alert.setInformativeText(explanation);
        alert.exec();
        alerting = false;
        placeholder.clear();
        update();
        return true;
    }
    setShortcutValue(shortcut);
    setRecording(false);
    return true;
}

bool ShortcutView::conflicts(const Shortcut& shortcut, QString* explanation) const
{
    // The shortcut we hold already is ours to record again.
    if (value == shortcut)
        return false;
    if (monitor && monitor->isShortcutAlreadyTakenBySystem(shortcut)) {
        *explanation = ShortcutValidator::systemExplanation();
        return true;
    }
    return shortcutValidator->isShortcutAlreadyTaken(shortcut, programCommands(), explanation);
}
