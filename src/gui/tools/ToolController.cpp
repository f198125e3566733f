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

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
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
        if (!folded)
            resize(width(), std::max(minimumSizeHint().height(), height() - generatorHeight));
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

    generator = new QWidget(this);
    generator->setMinimumHeight(1); // folded away by shrinking
    generator->setMaximumHeight(generatorHeight);
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
    layout->addStretch(0);

    folding = new QVariantAnimation(this);
    folding->setDuration(500);
    folding->setEasingCurve(QEasingCurve::InOutQuad);
    connect(folding, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const int height = value.toInt();
        const int before = generator->maximumHeight();
        setGeneratorHeight(height);
        // The top edge stays; the bottom follows the generator.
        resize(width(), this->height() + height - before);
    });
    connect(folding, &QVariantAnimation::finished, this, [this] {
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
        extractDrop({qvariant_cast<QImage>(n.userInfo.value(QStringLiteral("image"))), {}});
    });
    center.addObserver(QStringLiteral("fileDropped"), this, [this](const Notification& n) {
        extractDrop({{}, n.userInfo.value(QStringLiteral("files")).toStringList()});
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
    if (folding->state() == QAbstractAnimation::Running)
        folding->setCurrentTime(folding->duration());
    frame->save();
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
        for (const ColorHarmonies::Row& made : computed) {
            auto* view = new GeneratorPaletteView(made.identifier, parts.center, this);
            auto* wells = new QHBoxLayout(view);
            wells->setContentsMargins(6, 6, 6, 6);
            wells->setSpacing(4);
            for (qsizetype i = 0; i < made.colors.size(); ++i)
                wells->addWidget(new ToolWell(view));
            if (made.colors.size() == 1)
                wells->addStretch(made.identifier == GeneratorPaletteView::baseColor ? 9 : 0);
            swatchStackView->addWidget(view);
            rows << view;
        }
    }
    rowColors.clear();
    for (qsizetype r = 0; r < computed.size() && r < rows.size(); ++r) {
        rowColors << computed[r].colors;
        const QList<ToolWell*> wells = rows[r]->findChildren<ToolWell*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = 0; i < wells.size(); ++i)
            wells[i]->setColor(i < computed[r].colors.size() ? AppearanceColors::onScreen(computed[r].colors[i])
                                                             : QColor(Qt::transparent));
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
    const ColorSpacePtr& space = parts.well.current();
    QList<Color> column;
    if (!replace) {
        // Compared with the column as it was: the row's own repeats stay.
        swatches.swatchesArray();
        column = swatches.currentPalette();
    }
    for (const Color& color : colors)
        if (replace || !swatches.isSwatch(color))
            column << ColorSpace::convert(color, space).value_or(color);
    swatches.handOver(parts.mainColor ? parts.mainColor() : *swatches.lastColor(), column);
    if (!replace && parts.showLastSwatch)
        parts.showLastSwatch();
}

// ---- the generator

void ToolController::extractDrop(const DropJob& job)
{
    if (!parts.extract || (job.image.isNull() && job.files.isEmpty()))
        return;
    const int number = ++dropNumber;
    ++pendingDrops;
    dropMessage->setText(tr("Finding the colours…"));
    dropMessage->show();
    const QPointer<ToolController> window(this);
    const auto extract = parts.extract;
    QThreadPool::globalInstance()->start([window, extract, job, number] {
        const DropColors result = extract(job);
        // A window closed meanwhile receives nothing.
        QMetaObject::invokeMethod(
            window.data(),
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

void ToolController::setGeneratorHeight(int height)
{
    generator->setMaximumHeight(std::max(1, height));
}

void ToolController::shouldShowDragView(bool show, bool animate)
{
    if (animate) {
        folding->stop();
        if (show)
            generator->show();
        folding->setStartValue(generator->maximumHeight());
        folding->setEndValue(show ? generatorHeight : 0);
        folding->start();
    }
    toggleDragViewButton->setArrowType(show ? Qt::DownArrow : Qt::RightArrow);
    toggleDragViewButton->setToolTip(show ? tr("Hide the Palettes Generator") : tr("Show the Palettes Generator"));
    toggleDragViewButton->setAccessibleName(toggleDragViewButton->toolTip());
}
