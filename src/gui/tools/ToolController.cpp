#include "ToolController.h"

#include "tools/DragDropView.h"
#include "tools/DropPreviewView.h"
#include "tools/GeneratorPaletteView.h"
#include "tools/RangeSlider.h"
#include "tools/ToolWell.h"

#include "app/WindowFrameAutosave.h"
#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/WellColorSpace.h"
#include "controls/AppearanceColors.h"
#include "settings/DefaultsKeys.h"
#include "settings/NotificationCenter.h"
#include "settings/UserDefaults.h"
#include "swatches/CurrentColors.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QThreadPool>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>

namespace {

const QString frameName = QStringLiteral("ToolView");
const QString sliderName = QStringLiteral("dropSlider");
const QString identifierKey = QStringLiteral("identifier");
// Whether the frame last saved is that of the folded window; the unfolded
// frame is the one to come back to, and a folded one must not shrink again.
const QString foldedFrameKey = QStringLiteral("Window Frame ToolView Folded");

// A thin chevron pointing down or right, as the toggle shows it.
QIcon chevron(Qt::ArrowType direction, const QColor& color)
{
    QPixmap pixmap(32, 32);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPolygonF down {{4, 6}, {8, 10}, {12, 6}};
    const QPolygonF right {{6, 4}, {10, 8}, {6, 12}};
    painter.drawPolyline(direction == Qt::DownArrow ? down : right);
    return QIcon(pixmap);
}

// What the preview shows before anything was ever dropped.
QList<Color> defaultPreview()
{
    const int components[8][3] = {{255, 249, 190}, {214, 249, 165}, {169, 248, 183}, {165, 249, 221},
                                  {157, 221, 252}, {154, 162, 248}, {227, 186, 250}, {249, 198, 176}};
    QList<Color> colors;
    for (const auto& c : components)
        colors << Color::fromIntegers(c[0], c[1], c[2]);
    return colors;
}

} // namespace

ToolController::ToolController(ToolParts& toolParts, QWidget* parent)
    : LightGradientView(parent)
    , parts(toolParts)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Colour Tools"));
    buildWindow();
    observe();
    updateToolSwatches();
    swatchLabel->hide();
    frame = std::make_unique<WindowFrameAutosave>(parts.defaults, frameName, *this);
    connect(frame.get(), &WindowFrameAutosave::saved, this, [this] {
        parts.defaults.setBool(!generator->isVisible(), foldedFrameKey);
    });
    const bool restored = frame->restore();
    if (!restored)
        resize(sizeHint());
    restoreDropPreview();
    // Restoring set the slider up from the stored range; from now on its
    // moves are the user's and are stored.
    storingSlider = true;
    const bool show = parts.defaults.boolForKey(DefaultsKeys::showDragView);
    if (!show) {
        // A frame saved folded is folded already.
        const bool folded = restored && parts.defaults.boolForKey(foldedFrameKey);
        generator->hide();
        setGeneratorHeight(0);
        layout()->activate();
        if (!folded)
            resize(width(), height() - generatorHeight);
    }
    shouldShowDragView(show, false);
}

ToolController::~ToolController()
{
    parts.center.removeObserver(this);
}

void ToolController::buildWindow()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 12);
    layout->setSpacing(8);

    auto* top = new QHBoxLayout;
    swatchLabel = new QLabel(this);
    QFont bold = swatchLabel->font();
    bold.setBold(true);
    swatchLabel->setFont(bold);
    top->addWidget(swatchLabel, 1);
    toggleDragViewButton = new QToolButton(this);
    toggleDragViewButton->setAutoRaise(true);
    connect(toggleDragViewButton, &QToolButton::clicked, this, &ToolController::toggleDragView);
    top->addWidget(toggleDragViewButton, 0, Qt::AlignRight);
    layout->addLayout(top);

    swatchStackView = new QVBoxLayout;
    swatchStackView->setSpacing(6);
    layout->addLayout(swatchStackView);

    // Exactly its height, whatever it holds: folding it shrinks the window
    // by that much and no more.
    generator = new QWidget(this);
    generator->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* generatorLayout = new QVBoxLayout(generator);
    generatorLayout->setContentsMargins(0, 6, 0, 0);
    generatorLayout->setSpacing(6);
    dropArea = new DragDropView(parts.center, generator);
    generatorLayout->addWidget(dropArea, 1);
    dropMessage = new QLabel(generator);
    dropMessage->setWordWrap(true);
    dropMessage->setForegroundRole(QPalette::PlaceholderText);
    dropMessage->hide();
    generatorLayout->addWidget(dropMessage);
    previewRow = new GeneratorPaletteView(GeneratorPaletteView::dropPreview, parts.center, generator);
    auto* previewLayout = new QHBoxLayout(previewRow);
    previewLayout->setContentsMargins(6, 6, 6, 6);
    dropPreviewView = new DropPreviewView(previewRow);
    previewLayout->addWidget(dropPreviewView);
    generatorLayout->addWidget(previewRow);
    slider = new RangeSlider(parts.center, generator);
    slider->setObjectName(sliderName);
    slider->setSnapsToIntegers(true);
    slider->setToolTip(tr("The colours to take: drag the knobs, or Left and Right (with Shift for the first knob)"));
    generatorLayout->addWidget(slider);
    layout->addWidget(generator);
    layout->addStretch(1);
    setGeneratorHeight(generatorHeight);

    // The keyboard: Ctrl+V takes a picture or image files from the
    // clipboard as a drop would; Escape and Ctrl+W close the window.
    const auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    shortcut(QKeySequence::Paste, [this] {
        if (!dropArea->takeData(QGuiApplication::clipboard()->mimeData())) {
            dropMessage->setText(tr("The clipboard holds no picture and no image file."));
            dropMessage->show();
        }
    });
    shortcut(QKeySequence::Close, [this] { close(); });
    shortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });

    foldAnimation = new QVariantAnimation(this);
    foldAnimation->setDuration(500);
    foldAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(foldAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        setGeneratorHeight(value.toInt());
        // The top edge stays; the bottom follows the generator. The layout
        // takes the new height first, or the window's minimum would still
        // hold the old one back.
        QWidget::layout()->activate();
        resize(width(), foldBase + shownGeneratorHeight);
    });
    connect(foldAnimation, &QVariantAnimation::finished, this, [this] {
        generator->setVisible(parts.defaults.boolForKey(DefaultsKeys::showDragView));
    });
}

void ToolController::observe()
{
    NotificationCenter& center = parts.center;
    center.addObserver(QStringLiteral("enterHoverToolSwatch"), this,
                       [this](const Notification& n) { showSwatchLabel(n); });
    center.addObserver(QStringLiteral("exitHoverToolSwatch"), this, [this](const Notification&) { swatchLabel->hide(); });
    center.addObserver(QStringLiteral("clickedHoverToolSwatch"), this,
                       [this](const Notification& n) { rowChosen(n, false); });
    center.addObserver(QStringLiteral("clickedGeneratorMenu"), this,
                       [this](const Notification& n) { rowChosen(n, true); });
    center.addObserver(QStringLiteral("imageDropped"), this, [this](const Notification& n) {
        const QVariant image = n.userInfo.value(QStringLiteral("image"));
        if (image.typeId() == QMetaType::QByteArray)
            extractDrop({image.toByteArray(), {}, {}});
        else
            extractDrop({{}, qvariant_cast<QImage>(image), {}});
    });
    center.addObserver(QStringLiteral("fileDropped"), this, [this](const Notification& n) {
        extractDrop({{}, {}, n.userInfo.value(QStringLiteral("files")).toStringList()});
    });
    center.addObserver(QStringLiteral("sliderChanged"), this, [this](const Notification& n) { sliderChanged(n); });
}

void ToolController::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void ToolController::closeEvent(QCloseEvent* event)
{
    // A fold under way ends first: the frame saved is a whole one.
    if (foldAnimation->state() == QAbstractAnimation::Running)
        foldAnimation->setCurrentTime(foldAnimation->duration());
    frame->save();
    // Results on their way belong to no drop any more.
    ++dropNumber;
    event->accept();
    Q_EMIT windowWillClose();
}

GeneratorPaletteView* ToolController::row(const QString& identifier) const
{
    if (identifier == GeneratorPaletteView::dropPreview)
        return previewRow;
    for (GeneratorPaletteView* view : rows)
        if (view->objectName() == identifier)
            return view;
    return nullptr;
}

// ---- the rows

void ToolController::updateToolSwatches()
{
    if (!parts.mainColor || !parts.harmonies)
        return;
    const Color main = parts.mainColor();
    const Color base = ColorSpace::convert(main, parts.well.current()).value_or(main);
    const QList<ColorHarmonies::Row> computed = parts.harmonies(base);
    if (rows.isEmpty()) {
        QWidget* previous = toggleDragViewButton;
        for (const ColorHarmonies::Row& made : computed) {
            auto* view = new GeneratorPaletteView(made.identifier, parts.center, this);
            auto* wells = new QHBoxLayout(view);
            wells->setContentsMargins(6, 6, 6, 6);
            wells->setSpacing(4);
            // The base colour's one well stays a swatch, not a bar.
            if (made.identifier == GeneratorPaletteView::baseColor)
                wells->addStretch(9);
            swatchStackView->addWidget(view);
            rows << view;
            // Tab goes down the rows as they stand, then to the generator.
            setTabOrder(previous, view);
            previous = view;
        }
        setTabOrder(previous, previewRow);
        setTabOrder(previewRow, slider);
    }
    rowColors.clear();
    for (qsizetype r = 0; r < computed.size() && r < rows.size(); ++r) {
        const QList<Color>& colors = computed[r].colors;
        rowColors << colors;
        // A row has a well per colour; a colour without an sRGB form leaves
        // the ramp empty for a while, and its wells come back with it.
        auto* layout = static_cast<QHBoxLayout*>(rows[r]->layout());
        QList<ToolWell*> wells = rows[r]->findChildren<ToolWell*>(Qt::FindDirectChildrenOnly);
        while (wells.size() > colors.size())
            delete wells.takeLast();
        while (wells.size() < colors.size()) {
            wells << new ToolWell(rows[r]);
            layout->insertWidget(int(wells.size()) - 1, wells.last());
            // Shown with the window, and counted in its size before that.
            wells.last()->show();
        }
        for (qsizetype i = 0; i < wells.size(); ++i)
            wells[i]->setColor(AppearanceColors::onScreen(colors[i]));
    }
}

void ToolController::showSwatchLabel(const Notification& notification)
{
    if (!notification.userInfo.contains(identifierKey))
        return;
    swatchLabel->setText(ColorHarmonies::title(notification.userInfo.value(identifierKey).toString()));
    swatchLabel->show();
}

QList<Color> ToolController::colorArrayForSwatch(const QString& identifier) const
{
    QList<Color> colors;
    if (identifier == GeneratorPaletteView::dropPreview) {
        const int start = std::max(0, int(slider->start()));
        const int end = std::min(int(previewColors.size()), int(slider->end()));
        for (int i = start; i < end; ++i)
            colors << previewColors[i];
    }
    for (qsizetype r = 0; r < rows.size(); ++r)
        if (rows[r]->objectName() == identifier)
            return colors + rowColors.value(r);
    return colors;
}

void ToolController::rowChosen(const Notification& notification, bool fromMenu)
{
    if (!notification.userInfo.contains(identifierKey))
        return;
    const QList<Color> colors = colorArrayForSwatch(notification.userInfo.value(identifierKey).toString());
    const bool replace = !fromMenu || notification.userInfo.value(QStringLiteral("action")).toString() != u"add";
    // After the notification has been handled: the swatch column reloads
    // and records the change, which must not happen inside a row's event.
    QMetaObject::invokeMethod(
        this, [this, colors, replace] { loadPalette(colors, replace); }, Qt::QueuedConnection);
}

void ToolController::loadPalette(const QList<Color>& colors, bool replace)
{
    if (colors.isEmpty() || !parts.swatches)
        return;
    CurrentColors& swatches = *parts.swatches;
    const Color main = parts.mainColor ? parts.mainColor() : *swatches.lastColor();
    if (!replace) {
        swatches.handOverAdding(main, colors);
        if (parts.showLastSwatch)
            parts.showLastSwatch();
        return;
    }
    QList<Color> column;
    for (const Color& color : colors)
        column << ColorSpace::convert(color, parts.well.current()).value_or(color);
    swatches.handOver(main, column);
}

// ---- the generator

void ToolController::extractDrop(const DropJob& job)
{
    if (!parts.extract || (job.imageData.isEmpty() && job.image.isNull() && job.files.isEmpty()))
        return;
    const int number = ++dropNumber;
    ++pendingDrops;
    dropMessage->setText(tr("Finding the colours…"));
    dropMessage->show();
    const QPointer<ToolController> window(this);
    const auto extract = parts.extract;
    QThreadPool::globalInstance()->start([window, extract, job, number] {
        const DropColors result = extract(job);
        // The window is asked for on the main thread only: it may be gone
        // by then, and a window closed meanwhile receives nothing.
        QMetaObject::invokeMethod(
            qApp,
            [window, number, result] {
                if (window)
                    window->dropFinished(number, result);
            },
            Qt::QueuedConnection);
    });
}

void ToolController::dropFinished(int number, const DropColors& result)
{
    --pendingDrops;
    // A slow earlier drop (a big photo) must not replace a later one.
    if (number != dropNumber)
        return;
    if (result.skipped.isEmpty()) {
        dropMessage->hide();
    } else {
        dropMessage->setText(tr("Not read: %1").arg(result.skipped.join(QStringLiteral("; "))));
        dropMessage->show();
    }
    if (!result.colors.isEmpty() || result.skipped.isEmpty()) {
        populateDropPreview(result.colors);
        resetSlider(dropPreviewView->count());
    }
    Q_EMIT dropShown();
}

void ToolController::populateDropPreview(const QList<Color>& colors)
{
    const ColorSpacePtr& space = parts.well.current();
    previewColors.clear();
    QList<QColor> cells;
    QVariantList stored;
    for (const Color& color : colors) {
        const std::optional<Color> inWell = ColorSpace::convert(color, space);
        if (!inWell)
            continue;
        previewColors << *inWell;
        cells << AppearanceColors::onScreen(*inWell);
        stored << ColorArchive::archive(*inWell);
    }
    dropPreviewView->setColors(cells);
    parts.defaults.setArray(stored, DefaultsKeys::dropColors);
    parts.defaults.synchronize();
    // The range counts the cells shown, not the colours handed in.
    configureSlider(int(cells.size()));
}

void ToolController::restoreDropPreview()
{
    QList<Color> colors = defaultPreview();
    if (parts.defaults.hasUserValue(DefaultsKeys::dropColors)) {
        colors.clear();
        for (const QVariant& data : parts.defaults.arrayForKey(DefaultsKeys::dropColors))
            if (std::optional<Color> color = ColorArchive::unarchive(data.toByteArray(), parts.spaces))
                colors << *color;
    }
    // Nothing stored while restoring: the range is the one stored.
    storingSlider = false;
    populateDropPreview(colors);
    storingSlider = true;
}

void ToolController::configureSlider(int count)
{
    const bool storing = std::exchange(storingSlider, false);
    slider->setMinValue(0);
    slider->setMaxValue(count);
    slider->setSnapsToIntegers(true);
    // A stored range past the cells there are is cut to them.
    const auto stored = [&](const QString& key, qint64 fallback) {
        return parts.defaults.hasUserValue(key) ? std::clamp<qint64>(parts.defaults.integerForKey(key), 0, count)
                                                : fallback;
    };
    slider->setStart(double(stored(DefaultsKeys::dropSliderStart, 0)));
    slider->setEnd(double(stored(DefaultsKeys::dropSliderEnd, qint64(slider->end()))));
    storingSlider = storing;
    redrawSelectedDropViews();
}

void ToolController::resetSlider(int count)
{
    parts.defaults.setInteger(0, DefaultsKeys::dropSliderStart);
    parts.defaults.setInteger(count, DefaultsKeys::dropSliderEnd);
    parts.defaults.synchronize();
    configureSlider(count);
}

void ToolController::sliderChanged(const Notification& notification)
{
    if (!storingSlider || notification.userInfo.value(QStringLiteral("name")).toString() != sliderName)
        return;
    // Whole numbers: the cells are counted, and a range read back must be
    // the range stored.
    parts.defaults.setInteger(qRound64(notification.userInfo.value(QStringLiteral("start")).toDouble()),
                              DefaultsKeys::dropSliderStart);
    parts.defaults.setInteger(qRound64(notification.userInfo.value(QStringLiteral("end")).toDouble()),
                              DefaultsKeys::dropSliderEnd);
    parts.defaults.synchronize();
    redrawSelectedDropViews();
}

void ToolController::redrawSelectedDropViews()
{
    dropPreviewView->setSelectedRange(int(slider->start()), int(slider->end()));
}

void ToolController::toggleDragView()
{
    const bool show = !parts.defaults.boolForKey(DefaultsKeys::showDragView);
    parts.defaults.setBool(show, DefaultsKeys::showDragView);
    parts.defaults.synchronize();
    shouldShowDragView(show, true);
}

bool ToolController::folding() const
{
    return foldAnimation->state() == QAbstractAnimation::Running;
}

void ToolController::setGeneratorHeight(int height)
{
    shownGeneratorHeight = height;
    generator->setFixedHeight(height);
}

void ToolController::shouldShowDragView(bool show, bool animate)
{
    if (animate) {
        foldAnimation->stop();
        if (show)
            generator->show();
        foldBase = height() - shownGeneratorHeight;
        foldAnimation->setStartValue(shownGeneratorHeight);
        foldAnimation->setEndValue(show ? generatorHeight : 0);
        foldAnimation->start();
    }
    toggleDragViewButton->setIcon(chevron(show ? Qt::DownArrow : Qt::RightArrow, palette().color(QPalette::WindowText)));
    toggleDragViewButton->setToolTip(show ? tr("Hide the Palettes Generator") : tr("Show the Palettes Generator"));
    toggleDragViewButton->setAccessibleName(toggleDragViewButton->toolTip());
}
